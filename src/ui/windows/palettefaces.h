#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class GameSession;
class QWidget;
class WordPalette;
struct ProgramState;

// What the palette shows of the words in play (the words, or their meanings or readings, as
// the Options and Ctrl+M say) and what the status bar says of them: a word's reading and
// meaning as it is pointed at or picked, and the word a meaning placed.
class PaletteFaces : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(PaletteFaces)

public:
    struct Hooks {
        std::function<void(const QString &)> say;
        std::function<void(const QString &, const QString &)> sayKey; // key, %1
    };
    PaletteFaces(QObject *parent, WordPalette &palette, const GameSession &game,
                 ProgramState &state, Hooks hooks);

    void show();
    // How many of each word are still to place, on the buttons.
    void count();
    // Words, meanings, readings, words: those the list has.
    void cycle();
    // The palette button k was picked, or the pointer is over a palette button.
    void picked(int k);
    void pointed(const QWidget *button);
    // A word went into the cell at; said by its text while the palette shows something else.
    void placed(QPoint at);

private:
    WordPalette &palette_;
    const GameSession &game_;
    ProgramState &state_;
    Hooks hooks_;
};
