#pragma once

#include "engine/bankline.h"
#include "engine/qj.h"

#include <QString>

// Line 1 of Easy, Hard and Extreme.
inline const QString kEasyLine1 = QString::fromLatin1(bankline::firstLine(0));
inline const QString kHardLine1 = QString::fromLatin1(bankline::firstLine(2));
inline const QString kExtremeLine1 = QString::fromLatin1(bankline::firstLine(4));

// Writes a well-formed bank line into the model as it stands, without the shuffle of
// parsebank, so that a test knows where every cell is.
inline void writeBankLine(TQJ &model, const QString &line)
{
    for (int p = 0; p < bankline::kCells; ++p) {
        TNode &n = model.node(p / 9 + 1, p % 9 + 1);
        const bankline::Cell cell = bankline::cellOf(line.at(p)).value_or(bankline::Cell{});
        n.column = p / 9 + 1;
        n.row = p % 9 + 1;
        n.given = cell.given;
        n.value = cell.value;
    }
}
