#pragma once

#include "widgets/dialogbase.h"

#include <array>

class Prompter;
class QLineEdit;
class WordListStore;

// The Append dialog: a title and nine words, saved as a new list (Append) or in place of the
// list at a user position (Edit). It closes only once the store has written the change.
class Tfrmappend : public DialogBase {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmappend)

public:
    enum class Mode { Append, Edit };

    // opener: the Word List dialog, which it is centred on.
    Tfrmappend(LanguageContext &context, QWidget *opener, Prompter &prompter, WordListStore &store);

    // Append mode, all ten boxes empty.
    void setappend();
    // Edit mode for the list at a user position, its texts in the boxes.
    void setedit(int position);

    Mode mode() const { return mode_; }
    // Box 0 is the title, boxes 1..9 the words.
    QLineEdit *box(int n) const { return w_[n]; }

    void Button1Click(); // Save

private:
    Prompter &prompter_;
    WordListStore &store_;
    Mode mode_ = Mode::Append;
    int position_ = 0;
    std::array<QLineEdit *, 10> w_{};
};
