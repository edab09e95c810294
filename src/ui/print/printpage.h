#pragma once

#include "print/wordbank.h"

#include <QWidget>

class QLabel;
class TextTables;
class Tprintsudoku;

// A print page: a window that is never shown, holding the white panel Panel1 that is printed
// one pixel to one printer dot. Its components are named so that translateform finds their
// keys under the page's name.
class PrintPage : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(PrintPage)

public:
    QWidget *panel() const { return panel_; }
    Tprintsudoku *board() const { return board_; }
    // The publisher's web address.
    QLabel *label1() const { return label1_; }

    // The words' readings and meanings under the page's parts; null while no word has one.
    WordBank *wordBank() const { return bank_ && !bank_->isHidden() ? bank_ : nullptr; }

    // Relabels the page in the current language; Label1 then takes the size of its text.
    void translate(const TextTables &texts);

protected:
    PrintPage(const QString &name, QSize panelSize, QWidget *owner);

    // A label in "MS Sans Serif" at a height in pixels; it keeps its size whatever its text.
    QLabel *addLabel(const char *name, const QRect &rect, int pixels, bool bold = false,
                     Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);
    void addBoard(const QRect &rect);
    void addLabel1(const QRect &rect, int pixels);
    // A bank of the words at topLeft, width wide, when any word has a reading or a meaning;
    // else none, and the page as it was made. The bank takes the room a sheet has below the
    // page's parts at their scale, the panel growing into it; only when the words need more
    // does the page print smaller.
    void placeWordBank(const WordSet &words, QPoint topLeft, int width);

private:
    QWidget *panel_;
    Tprintsudoku *board_ = nullptr;
    QLabel *label1_ = nullptr;
    WordBank *bank_ = nullptr;
    QSize panelSize_;
};
