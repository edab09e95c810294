#pragma once

#include "widgets/dialogbase.h"

class Prompter;
class QComboBox;
class QSpinBox;
class WordListStore;

// A class set of worksheets: a level, a word list and a number of sheets, written as one PDF
// of different puzzles and their answer key.
class Tfrmworksheets : public DialogBase {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmworksheets)

public:
    Tfrmworksheets(LanguageContext &context, QWidget *parent, Prompter &prompter,
                   const WordListStore &store);

    QComboBox *levels() const { return levels_; }
    QComboBox *lists() const { return lists_; }
    QSpinBox *count() const { return count_; }

    // Asks where to save the PDF, writes the set there and closes; a failure is reported and the
    // dialog stays open.
    void btokClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    Prompter &prompter_;
    const WordListStore &store_;
    QComboBox *levels_;
    QComboBox *lists_;
    QSpinBox *count_;
    bool shown_ = false;
};
