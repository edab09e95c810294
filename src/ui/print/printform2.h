#pragma once

#include "print/printpage.h"

class TQJ;
struct WordSet;

// The solution page: "Solution" over all 81 words of the game in play.
class Tprintform2 : public PrintPage {
    Q_OBJECT
    Q_DISABLE_COPY(Tprintform2)

public:
    static constexpr QSize kPanel{2100, 2693};

    explicit Tprintform2(QWidget *owner = nullptr);

    // The board from the model and the words' texts, sized by kSolutionPageFonts; under it the
    // word bank when any word has a reading or a meaning.
    void fill(const TQJ &model, const WordSet &words);
    // The same from texts alone: no word bank.
    void fill(const TQJ &model, const QStringList &words);
};
