#pragma once

#include "widgets/dialogbase.h"

class KeyPreview;
struct WordSet;
class TQJ;
class Ttntstdsudoku;

// The Solution window: the whole solution of the game in play on a board of its own, which
// takes no pointer input.
class Tfrmda : public DialogBase {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmda)

public:
    Tfrmda(LanguageContext &context, QWidget *parent);

    Ttntstdsudoku *board() const { return board_; }
    // Fills all 81 cells from the model and the nine words.
    void showsolution(const TQJ &model, const QStringList &words);
    // The same with each word's reading and meaning in its cells' tooltips.
    void showsolution(const TQJ &model, const WordSet &words);

protected:
    void showEvent(QShowEvent *event) override;

private:
    Ttntstdsudoku *board_;
};
