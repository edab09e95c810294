#pragma once

#include "engine/wordset.h"
#include "widgets/dialogbase.h"

#include <array>
#include <functional>

class QLineEdit;
class QPushButton;
class RadioGroup;
class Prompter;

// The New Game dialog: a level, a title and nine words; Start New Game deals the game.
class Tfrmnewgame : public DialogBase {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmnewgame)

public:
    // Deals the game; false when it could not, and the dialog stays open.
    using Starter = std::function<bool(int level, const WordSet &words)>;

    Tfrmnewgame(LanguageContext &context, QWidget *parent, Prompter &prompter, Starter starter);

    RadioGroup *levels() const { return radioGroup1_; }
    // Box 0 is the title, boxes 1..9 the words.
    QLineEdit *box(int n) const { return w_[n]; }
    // The title and words the boxes hold, as typed.
    WordSet words() const;
    void setWords(const WordSet &words);
    // The Word List dialog that Load shows; created after this one.
    void setWordListDialog(QDialog *dialog) { wordList_ = dialog; }

    // The first of boxes 1..9 that holds nothing but blanks, or 0 when all are filled.
    int firstEmptyBox() const;
    bool checkcomplete();
    void BitBtn1Click();
    void Button3Click();
    void Button1Click();

    // Every way of closing ends here; the level and the boxes' set are remembered.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    Prompter &prompter_;
    Starter start_;
    QDialog *wordList_ = nullptr;
    RadioGroup *radioGroup1_;
    std::array<QLineEdit *, 10> w_{};
};
