#pragma once

#include "board/celltext.h"

#include <QColor>
#include <QStringList>
#include <QWidget>

class QPainter;

// One cell of a board: a word (or " "), the word number it stands for, whether it is given,
// and a background. It paints itself and reports pointer events; the rules live elsewhere.
class TTntcell : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(TTntcell)

public:
    explicit TTntcell(QWidget *parent = nullptr);

    bool isfixed() const { return isfixed_; }
    void Setisfixed(bool fixed);
    int value() const { return value_; }
    void Setvalue(int value);
    bool isEnter() const { return isEnter_; }
    void SetisEnter(bool enter);
    // The keyboard's cell: a thicker frame inside the pointer's.
    bool isCursor() const { return isCursor_; }
    void SetisCursor(bool cursor);

    QString text() const { return text_; }
    void setText(const QString &text);
    QColor color() const { return color_; }
    void setColor(const QColor &color);
    QColor fontColor() const { return fontColor_; }
    void setFontColor(const QColor &color);
    // The player's notes, drawn while the cell is empty: mark k (empty for none) at place k of
    // a 3 x 3 grid, so a word always stands at the same spot.
    const QStringList &notes() const { return notes_; }
    void setNotes(const QStringList &marks);

    // Paints the cell as it shows itself, in its own coordinates, with font for its words: the
    // print pages give the font in the paper's units, and say how the words of a bold face
    // that has no bold weight are drawn (see drawCellText).
    void paintOn(QPainter &painter, const QFont &font, FakedBold bold = FakedBold::AsFont) const;

    // Column and row on the board, 1..9, set by the board; 0 for a cell on no board. Not x()
    // and y(), which are the widget's position.
    int column() const { return column_; }
    int row() const { return row_; }
    void setPlace(int column, int row)
    {
        column_ = column;
        row_ = row;
    }

signals:
    void mouseDown(TTntcell *cell, Qt::MouseButton button);
    void mouseEnter(TTntcell *cell);
    void mouseLeave(TTntcell *cell);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QString text_ = QStringLiteral(" ");
    QColor color_ = Qt::white;
    QColor fontColor_ = Qt::black;
    QStringList notes_;
    int value_ = 0;
    bool isfixed_ = true;
    bool isEnter_ = false;
    int column_ = 0;
    int row_ = 0;
    bool isCursor_ = false;
};
