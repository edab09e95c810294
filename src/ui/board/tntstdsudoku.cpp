#include "board/tntstdsudoku.h"

#include "board/tntcell.h"
#include "engine/gamemodel.h"

#include <QAccessible>
#include <QPainter>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {
QColor toColor(Rgb rgb)
{
    return QColor::fromRgb(QRgb(0xFF000000u | rgb));
}
} // namespace

Ttntstdsudoku::Ttntstdsudoku(QWidget *parent) : Ttntstdsudoku(kScreen, parent) {}

Ttntstdsudoku::Ttntstdsudoku(const Geometry &geometry, QWidget *parent)
    : QWidget(parent), geometry_(geometry)
{
    resize(geometry.side, geometry.side);
    const int p = width() / 9, q = height() / 9;
    const int offset = geometry.offset;
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            auto *c = new TTntcell(this);
            c->setGeometry(cellEdge(p, i) + offset, cellEdge(q, j) + offset, p - geometry.shrink,
                           q - geometry.shrink);
            c->Setisfixed(false);
            c->setPlace(i, j);
            QFont f = c->font();
            f.setPointSize(18);
            f.setBold(true);
            c->setFont(f);
            if (inEdgeMiddleBox(i, j))
                c->setColor(toColor(boardcolor::lightBlue));
            cells_[i - 1][j - 1] = c;
        }
    }
}

void Ttntstdsudoku::showgame(const GameModel &model)
{
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j)
            showcell(model, i, j);
}

void Ttntstdsudoku::showcell(const GameModel &model, int i, int j)
{
    const GameCell &c = model.cell(i, j);
    const QString text = model.shown(i, j);
    setCellValue(i, j, model.value(i, j));
    setCellText(i, j, text);
    setCellFixed(i, j, c.given);
    setCellEnabled(i, j, !c.given);
    setCellFontColor(i, j, c.given ? fixcolor() : bigcolor());
    Rgb color = inEdgeMiddleBox(i, j) ? boardcolor::lightBlue : boardcolor::white;
    bool repeated = false;
    if (showConflicts_ && model.filled(i, j))
        for (int a = 1; a <= 9 && !repeated; ++a)
            for (int b = 1; b <= 9 && !repeated; ++b)
                repeated = (a != i || b != j) && GameModel::sees(a, b, i, j) &&
                           model.filled(a, b) && model.value(a, b) == model.value(i, j);
    if (c.mark == CellMark::Error)
        color = boardcolor::red;
    else if (repeated)
        color = boardcolor::orange;
    else if (c.mark == CellMark::Step)
        color = boardcolor::green;
    else if (c.mark == CellMark::Proof)
        color = boardcolor::paleGreen;
    else if (c.mark == CellMark::Highlight)
        color = boardcolor::yellow;
    setCellColor(i, j, color);
    setCellFont(i, j, fontFor(kPlayBoardFonts, longestpiece(text, QStringLiteral(" "))));
    QStringList marks;
    QStringList words;
    if (c.notes != 0) {
        for (int k = 1; k <= WordSet::kWords; ++k) {
            const QString word = c.hasNote(k) ? model.curwords().text(k).trimmed() : QString();
            // The first character a reader sees as one, a surrogate pair or an accent included.
            QTextBoundaryFinder first(QTextBoundaryFinder::Grapheme, word);
            const qsizetype end = word.isEmpty() ? 0 : first.toNextBoundary();
            marks.append(!c.hasNote(k)     ? QString()
                         : notesAsNumbers_ ? QString::number(k)
                                           : word.left(end > 0 ? end : 1));
            if (c.hasNote(k))
                words.append(word);
        }
    }
    cell(i, j)->setNotes(marks);
    noteWords_[GameModel::index(i, j)] = words.join(QStringLiteral(", "));
    // The word's reading and meaning, for the pointer and, as the description, a screen reader.
    const int k = model.value(i, j);
    cell(i, j)->setToolTip(model.filled(i, j) && k >= 1 && k <= WordSet::kWords
                               ? glossLine(model.curwords().words[k - 1])
                               : QString());
}

void Ttntstdsudoku::showchange(const GameModel &model, int i, int j)
{
    showcell(model, i, j);
    if (!showConflicts_)
        return;
    for (int a = 1; a <= 9; ++a)
        for (int b = 1; b <= 9; ++b)
            if ((a != i || b != j) && GameModel::sees(a, b, i, j))
                showcell(model, a, b);
}

void Ttntstdsudoku::setCursorCell(int i, int j)
{
    if (cursor_ == QPoint(i, j))
        return;
    if (!cursor_.isNull())
        cell(cursor_.x(), cursor_.y())->SetisCursor(false);
    const bool valid = i >= 1 && i <= 9 && j >= 1 && j <= 9;
    cursor_ = valid ? QPoint(i, j) : QPoint();
    if (!valid)
        return;
    TTntcell *c = cell(i, j);
    c->SetisCursor(true);
    if (hasFocus() && QAccessible::isActive()) {
        QAccessibleEvent event(c, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

void Ttntstdsudoku::moveCursor(int di, int dj)
{
    if (cursor_.isNull())
        return;
    setCursorCell(std::clamp(cursor_.x() + di, 1, 9), std::clamp(cursor_.y() + dj, 1, 9));
}

void Ttntstdsudoku::setSpokenTexts(const QString &cell, const QString &given, const QString &empty)
{
    spokenCell_ = cell;
    spokenGiven_ = given;
    spokenEmpty_ = empty;
}

QString Ttntstdsudoku::spokenValue(int i, int j) const
{
    const TTntcell *c = cell(i, j);
    const QString word = c->text().trimmed();
    if (spokenCell_.isEmpty())
        return word;
    if (isEmptyText(c->text())) {
        const QString &notes = noteWords_[GameModel::index(i, j)];
        return notes.isEmpty() || spokenNotes_.isEmpty() ? spokenEmpty_
                                                         : spokenNotes_.arg(spokenEmpty_, notes);
    }
    return c->isfixed() ? spokenGiven_.arg(word) : word;
}

QString Ttntstdsudoku::spokenName(int i, int j) const
{
    if (spokenCell_.isEmpty())
        return spokenValue(i, j);
    return spokenCell_.arg(QString::number(j), QString::number(i), spokenValue(i, j));
}

int Ttntstdsudoku::cellEdge(int pitch, int k)
{
    return pitch * (k - 1) + 1 + (k == 1 ? 1 : 0) - (k == 9 ? 1 : 0);
}

int Ttntstdsudoku::linePosition(int pitch, int k)
{
    if (k == 1)
        return 1;
    if (k == 9)
        return 8 * pitch - 1;
    if (k == 10)
        return 9 * pitch - 1;
    return (k - 1) * pitch;
}

void Ttntstdsudoku::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintOn(painter);
}

void Ttntstdsudoku::paintOn(QPainter &painter) const
{
    painter.fillRect(rect(), palette().window());
    const int w = width() / 9, h = height() / 9;
    const int length = 9 * w;
    // Filled bands rather than pen strokes keep the pixels exact. A line n pixels wide at p
    // starts at p - n / 2, where the platform centres a wide pen: 2 pixels cover p - 1 and p.
    for (int k = 1; k <= 10; ++k) {
        const int p = linePosition(h, k);
        const int thickness = isThickLine(k) ? geometry_.thickPen : geometry_.thinPen;
        const int start = p - thickness / 2;
        painter.fillRect(0, start, length, thickness, Qt::black);
        painter.fillRect(start, 0, thickness, length, Qt::black);
    }
}

QString Ttntstdsudoku::cellText(int i, int j) const
{
    return cell(i, j)->text();
}

void Ttntstdsudoku::setCellText(int i, int j, const QString &text)
{
    cell(i, j)->setText(text);
}

int Ttntstdsudoku::cellValue(int i, int j) const
{
    return cell(i, j)->value();
}

void Ttntstdsudoku::setCellValue(int i, int j, int value)
{
    cell(i, j)->Setvalue(value);
}

bool Ttntstdsudoku::cellFixed(int i, int j) const
{
    return cell(i, j)->isfixed();
}

void Ttntstdsudoku::setCellFixed(int i, int j, bool fixed)
{
    cell(i, j)->Setisfixed(fixed);
}

void Ttntstdsudoku::setCellEnabled(int i, int j, bool enabled)
{
    cell(i, j)->setEnabled(enabled);
}

Rgb Ttntstdsudoku::cellColor(int i, int j) const
{
    return cell(i, j)->color().rgb() & 0xFFFFFFu;
}

void Ttntstdsudoku::setCellColor(int i, int j, Rgb color)
{
    cell(i, j)->setColor(toColor(color));
}

void Ttntstdsudoku::setCellFontColor(int i, int j, Rgb color)
{
    cell(i, j)->setFontColor(toColor(color));
}

void Ttntstdsudoku::setCellFont(int i, int j, FontFit fit)
{
    TTntcell *c = cell(i, j);
    QFont f = c->font();
    f.setPointSize(fit.points);
    f.setBold(fit.bold);
    if (f != c->font())
        c->setFont(f);
}

void Ttntstdsudoku::setBoardEnabled(bool enabled)
{
    setEnabled(enabled);
}
