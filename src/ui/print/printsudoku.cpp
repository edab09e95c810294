#include "print/printsudoku.h"

#include "board/tntcell.h"
#include "engine/qj.h"
#include "widgets/fonts.h"

namespace {
const QString kKai = QStringLiteral("simkai");
} // namespace

Tprintsudoku::Tprintsudoku(QWidget *parent) : Ttntstdsudoku(kPrint, parent)
{
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            QFont font = cell(i, j)->font();
            font.setFamily(kKai);
            cell(i, j)->setFont(font);
        }
    }
}

void Tprintsudoku::loadprintpuzzle(const TQJ &model, const QStringList &words)
{
    CellBoard::loadpuzzle(model, words);
    pickfaces();
}

void Tprintsudoku::loadsolution(const TQJ &model, const QStringList &words)
{
    fillsolution(*this, model, words, SolutionMarks::WeightAndSlant);
    pickfaces();
}

void Tprintsudoku::sizefonts(const FontTable &table)
{
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j)
            setCellPoints(cell(i, j), fontFor(table, int(cellText(i, j).size())).points);
}

Rgb Tprintsudoku::boxColor(Shading shading)
{
    switch (shading) {
    case Shading::Grey:
        return 0xE0E0E0;
    case Shading::None:
        return boardcolor::white;
    case Shading::Colour:
        break;
    }
    return boardcolor::lightBlue;
}

void Tprintsudoku::shade(Shading shading)
{
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j)
            if (inEdgeMiddleBox(i, j))
                setCellColor(i, j, boxColor(shading));
}

void Tprintsudoku::pickfaces()
{
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            TTntcell *c = cell(i, j);
            QFont font = c->font();
            const QString face = hasCjkText(c->text()) ? kKai : latinFamily();
            if (font.family() != face) {
                font.setFamily(face);
                c->setFont(font);
            }
        }
    }
}

void setCellPoints(TTntcell *cell, int points)
{
    // Setting a font, even the same, costs the widget a round of events: a class set sizes
    // every cell of every sheet.
    if (points <= 0 || (cell->testAttribute(Qt::WA_SetFont) && cell->font().pointSize() == points))
        return;
    QFont font = cell->font();
    font.setPointSize(points);
    cell->setFont(font);
}

void fillsolution(Ttntstdsudoku &board, const TQJ &model, const QStringList &words,
                  SolutionMarks marks)
{
    const bool marked = marks == SolutionMarks::WeightAndSlant;
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            const TNode &node = model.node(i, j);
            TTntcell *c = board.cell(i, j);
            c->Setvalue(node.value);
            if (marked && (!c->testAttribute(Qt::WA_SetFont) || c->font().bold() != node.given ||
                           c->font().italic() == node.given)) {
                QFont font = c->font();
                font.setBold(node.given);
                font.setItalic(!node.given);
                c->setFont(font);
            }
            c->setText(wordAt(words, node.value));
            setCellPoints(c, fontFor(kSolutionWindowFonts, int(c->text().size())).points);
            c->Setisfixed(node.given);
            c->setEnabled(marked && !node.given);
        }
    }
    board.Setbigcolor(board.bigcolor());
    board.Setfixcolor(board.fixcolor());
    board.shadeboxes();
}
