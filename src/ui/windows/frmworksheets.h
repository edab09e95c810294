#pragma once

#include "widgets/dialogbase.h"
#include "wordlists/wordliststore.h"

#include <functional>
#include <optional>

class Prompter;
class QComboBox;
class QSpinBox;

// A class set of worksheets: a level, a word list and a number of sheets, written as one PDF
// of different puzzles and their answer key.
class Tfrmworksheets : public DialogBase {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmworksheets)

public:
    Tfrmworksheets(LanguageContext &context, QWidget *parent, Prompter &prompter,
                   WordListStore &store);

    QComboBox *levels() const { return levels_; }
    QComboBox *lists() const { return lists_; }
    QSpinBox *count() const { return count_; }
    // Colour, grey or none: the ink of the shaded boxes and the legend.
    QComboBox *shading() const { return shading_; }

    // The word list of the game in play, if any; the dialog starts on it when it is stored.
    void setListInPlay(std::function<std::optional<WordSet>()> inPlay)
    {
        inPlay_ = std::move(inPlay);
    }

    // Asks where to save the PDF, writes the set there and closes; a failure is reported and the
    // dialog stays open.
    void btokClick();

signals:
    // A class set was written to file.
    void saved(const QString &file);

protected:
    void showEvent(QShowEvent *event) override;

private:
    Prompter &prompter_;
    WordListStore &store_; // its glossary is read when first asked for
    QComboBox *levels_;
    QComboBox *lists_;
    QSpinBox *count_;
    QComboBox *shading_;
    std::function<std::optional<WordSet>()> inPlay_;
    bool shown_ = false;
};
