#include "print/printform2.h"

#include "print/printsudoku.h"

#include "engine/wordset.h"

#include <QLabel>

Tprintform2::Tprintform2(QWidget *owner) : PrintPage(QStringLiteral("printform2"), kPanel, owner)
{
    addLabel("TntLabel1", {148, 206, 1800, 119}, 96, false, Qt::AlignHCenter | Qt::AlignTop)
        ->setText(QStringLiteral("Solution"));
    addBoard({150, 521, 1806, 1807});
    addLabel1({1694, 2337, 261, 29}, 24);
}

void Tprintform2::fill(const TQJ &model, const WordSet &words)
{
    board()->loadsolution(model, words.texts());
    board()->sizefonts(kSolutionPageFonts);
    // Below the board and the web address, across the board.
    placeWordBank(words, {150, 2337 + 29 + 24}, 1806);
}

void Tprintform2::fill(const TQJ &model, const QStringList &words)
{
    board()->loadsolution(model, words);
    board()->sizefonts(kSolutionPageFonts);
    placeWordBank({}, {}, 0);
}
