#pragma once

#include "print/printpage.h"
#include "print/printsudoku.h"

#include "engine/wordset.h"

#include <QStringList>

class TQJ;
class TTntcell;

// The puzzle page: the title of the word list, two lines of instructions, a line for the
// player's name, the puzzle as dealt and a legend of the nine words.
class Tprintform : public PrintPage {
    Q_OBJECT
    Q_DISABLE_COPY(Tprintform)

public:
    static constexpr QSize kPanel{2100, 2531};

    explicit Tprintform(QWidget *owner = nullptr);

    QLabel *title() const { return title_; }
    // Legend cell c1 .. c9.
    TTntcell *legend(int k) const { return legend_.at(k - 1); }

    // The board from the model and the words' texts, the title, the legend from the same
    // texts, every board cell and legend word sized by kPuzzlePageFonts; under the legend the
    // word bank when any word has a reading or a meaning.
    void fill(const TQJ &model, const WordSet &words);
    // The same from texts alone: no word bank.
    void fill(const TQJ &model, const QStringList &words, const QString &title,
              const QStringList &paletteWords);

    // The board's boxes and the legend in the shading's colours.
    void shade(Shading shading);

private:
    void fillTexts(const TQJ &model, const QStringList &words, const QString &title,
                   const QStringList &paletteWords);

    QLabel *title_;
    QList<TTntcell *> legend_;
};
