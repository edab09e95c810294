#pragma once

#include "widgets/dialogbase.h"

#include "engine/wordset.h"

class Prompter;
class QComboBox;
class QTableWidget;

// The readings and meanings of the nine words of the Append dialog: a row a word, headed by
// the word as typed, with a Reading and a Meaning column; below them the language the list is
// spoken in, Automatic (told from the words and readings) or one chosen. It keeps nothing
// itself; the Append dialog reads it back once OK closes it.
class Tfrmmeanings : public DialogBase {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmmeanings)

public:
    // A meaning longer than this is a paragraph, not a flash card's back.
    static constexpr int kMaxLength = 200;

    Tfrmmeanings(LanguageContext &context, QWidget *opener, Prompter &prompter);

    // The words to edit, each with the reading and meaning it starts with, and the list's
    // language (empty: Automatic). A blank word's row cannot be edited.
    void setwords(const WordSet &words);
    // The words as given, with the grid's readings and meanings and the language chosen.
    WordSet words() const;
    QTableWidget *grid() const { return grid_; }
    QComboBox *languages() const { return languages_; }

    void Button1Click(); // OK

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setHeaders();
    // Automatic names the language the words and readings tell as they stand.
    void nameAutomatic();
    void chooseLanguage(const QString &language);

    Prompter &prompter_;
    QTableWidget *grid_ = nullptr;
    QComboBox *languages_ = nullptr;
    WordSet shown_;
};
