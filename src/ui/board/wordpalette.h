#pragma once

#include "engine/wordset.h"

#include <QGroupBox>

#include <array>

class QButtonGroup;
class TTntspeedbutton;

// The group "Select Word": nine buttons but1..but9 whose tags are the word numbers 1..9. One
// pressed at a time; pressing the pressed one again keeps it pressed.
class WordPalette : public QGroupBox {
    Q_OBJECT
    Q_DISABLE_COPY(WordPalette)

public:
    explicit WordPalette(QWidget *parent = nullptr);

    TTntspeedbutton *button(int k) const { return buttons_[k - 1]; }
    // Captions of but1..but9 from the nine words, in order.
    void showwords(const QStringList &words);
    // The words' faces as captions, each word's reading and meaning as the descriptions.
    void showwords(const std::array<Word, 9> &words, WordFace face);
    // What a button's tooltip says and a screen reader hears after its name: the word's
    // reading and meaning. Empty for none.
    void setDescriptions(const QStringList &descriptions);
    // How a screen reader names a button: %1 its number, %2 its word. Until set, by its word.
    void setSpokenPattern(const QString &pattern);
    // How many of each word are still to place; -1 each outside a game.
    void showRemaining(const std::array<int, 9> &remaining);
    // Shows button k pressed, releasing the others, without emitting a click.
    void setPressed(int k);
    // The pressed button's tag, 0 when none is pressed.
    int pressed() const;

signals:
    void wordClicked(int k);

private:
    void speakwords();

    QButtonGroup *group_;
    QString spokenPattern_;
    std::array<TTntspeedbutton *, 9> buttons_{};
};
