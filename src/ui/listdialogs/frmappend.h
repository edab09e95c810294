#pragma once

#include "widgets/dialogbase.h"

#include "wordlists/glossary.h"

#include <QHash>

#include <array>
#include <optional>

class Prompter;
class QLineEdit;
class Tfrmmeanings;
class WordListStore;

// The Append dialog: a title and nine words, saved as a new list (Append) or in place of the
// list at a user position (Edit). It closes only once the store has written the change.
// Meanings... edits the readings and meanings of the nine words and the list's language; the
// edits are kept here and written to the glossary with the list, or dropped with Cancel.
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

    Tfrmmeanings *meanings() const { return meanings_; }

    void Button1Click();    // Save
    void btmeaningsClick(); // the readings and meanings of the words as typed now

private:
    // The words of the boxes, with the readings, meanings and language edited since the dialog
    // opened.
    WordSet editedWords() const;
    // The language the glossary has for the list: under its title as stored when editing (a
    // renamed list keeps it), else under the title typed.
    QString storedLanguage() const;

    Prompter &prompter_;
    WordListStore &store_;
    Mode mode_ = Mode::Append;
    int position_ = 0;
    std::array<QLineEdit *, 10> w_{};
    Tfrmmeanings *meanings_ = nullptr;
    // By the trimmed word, as the glossary keys it: only what differs from the glossary.
    QHash<QString, Gloss> edits_;
    std::optional<QString> language_; // chosen, where it differs from storedLanguage()
};
