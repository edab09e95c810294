#pragma once

#include "engine/qj.h"

#include <QString>

// Line 1 of Easy, Hard and Extreme.
inline const QString kEasyLine1 = QStringLiteral(
    "568241IGC3D29F71HEIG158CB4F4A5CI8762H967BE3147B34A6598154FC9H27287A54639639H7B451");
inline const QString kHardLine1 = QStringLiteral(
    "5682D1IGC3DB9FG1HEIG158CB4F4AECI8762H9FGBE3AD7B34A65981E4FCIH27287A5D639639H7B451");
inline const QString kExtremeLine1 = QStringLiteral(
    "DGI3EB18FH26DAGCIEEAC9HFBDGI47H2CFEAFCH5DA9GBBEAF7IDCHGIEA64H2C3FBGIH5AD1HDBCEGFI");

// Writes a well-formed bank line into the model as it stands, without the shuffle of
// parsebank, so that a test knows where every cell is.
inline void writeBankLine(TQJ &model, const QString &line)
{
    for (int p = 0; p < 81; ++p) {
        TNode &n = model.node(p / 9 + 1, p % 9 + 1);
        const QChar c = line.at(p);
        n.column = p / 9 + 1;
        n.row = p % 9 + 1;
        n.given = c.isDigit();
        n.value = n.given ? c.digitValue() : c.unicode() - 'A' + 1;
    }
}
