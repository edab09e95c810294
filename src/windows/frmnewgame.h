#pragma once

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;
class RadioGroup;
class TaaForm1;
class Prompter;

// The New Game dialog: a level, a title and nine words; Start New Game deals the game.
class Tfrmnewgame : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmnewgame)

public:
    Tfrmnewgame(TaaForm1 &main, Prompter &prompter);

    RadioGroup *levels() const { return radioGroup1_; }
    // Box 0 is the title, boxes 1..9 the words.
    QLineEdit *box(int n) const { return w_[n]; }
    // The Word List dialog that Load shows; created after this one.
    void setWordListDialog(QDialog *dialog) { wordList_ = dialog; }

    // The first of boxes 1..9 that holds nothing but blanks, or 0 when all are filled.
    int firstEmptyBox() const;
    bool checkcomplete();
    void BitBtn1Click();
    void Button3Click();
    void Button1Click();

    // Every way of closing ends here; the level and the ten texts are remembered.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    TaaForm1 &main_;
    Prompter &prompter_;
    QDialog *wordList_ = nullptr;
    RadioGroup *radioGroup1_;
    std::array<QLineEdit *, 10> w_{};
};
