#include "print/printform.h"

#include "board/tntcell.h"
#include "print/printsudoku.h"

#include <QLabel>

namespace {
QColor legendColor(Shading shading)
{
    switch (shading) {
    case Shading::Grey:
        return QColor(0xC8, 0xC8, 0xC8);
    case Shading::None:
        return Qt::white;
    case Shading::Colour:
        break;
    }
    return QColor(0xA4, 0xA4, 0xFF);
}
} // namespace

Tprintform::Tprintform(QWidget *owner) : PrintPage(QStringLiteral("printform"), kPanel, owner)
{
    addLabel("TntLabel2", {1500, 17, 90, 31}, 27)->setText(QStringLiteral("Name:"));
    auto *nameLine = new QWidget(panel());
    nameLine->setObjectName(QStringLiteral("Panel3"));
    nameLine->setGeometry(1585, 37, 192, 4);
    QPalette ink = nameLine->palette();
    ink.setColor(QPalette::Window, Qt::black);
    nameLine->setPalette(ink);
    nameLine->setAutoFillBackground(true);
    title_ =
        addLabel("TntLabel1", {125, 174, 1523, 101}, 81, false, Qt::AlignHCenter | Qt::AlignTop);
    addLabel("TntLabel3", {124, 333, 1354, 38}, 27);
    addLabel("TntLabel4", {125, 375, 1354, 39}, 27);
    addBoard({127, 441, 1806, 1806});
    addLabel1({1721, 2253, 210, 24}, 20);

    const int lefts[9] = {127, 332, 537, 742, 947, 1152, 1357, 1562, 1768};
    for (int k = 1; k <= 9; ++k) {
        auto *cell = new TTntcell(panel());
        cell->setObjectName(QStringLiteral("c%1").arg(k));
        cell->setGeometry(lefts[k - 1], 2302, 170, 170);
        cell->setColor(legendColor(Shading::Colour));
        cell->setFont(QFont(QStringLiteral("MS Sans Serif")));
        legend_.append(cell);
    }
}

void Tprintform::fill(const TQJ &model, const WordSet &words)
{
    const QStringList texts = words.texts();
    fillTexts(model, texts, words.title, texts);
    // Below the legend, across it.
    placeWordBank(words, {127, 2302 + 170 + 24}, 1938 - 127);
}

void Tprintform::fill(const TQJ &model, const QStringList &words, const QString &title,
                      const QStringList &paletteWords)
{
    fillTexts(model, words, title, paletteWords);
    placeWordBank({}, {}, 0);
}

void Tprintform::fillTexts(const TQJ &model, const QStringList &words, const QString &title,
                           const QStringList &paletteWords)
{
    board()->loadprintpuzzle(model, words);
    title_->setText(title);
    for (int k = 1; k <= 9; ++k) {
        TTntcell *cell = legend(k);
        cell->setText(paletteWords.value(k - 1));
        setCellPoints(cell, fontFor(kPuzzlePageFonts, int(cell->text().size())).points);
    }
    board()->sizefonts(kPuzzlePageFonts);
}

void Tprintform::shade(Shading shading)
{
    board()->shade(shading);
    for (TTntcell *cell : std::as_const(legend_))
        cell->setColor(legendColor(shading));
}
