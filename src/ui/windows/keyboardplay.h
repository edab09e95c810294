#pragma once

#include <QKeyCombination>
#include <QObject>

class TaaForm1;

// The game from the keyboard: arrows move the board's cursor, 1 to 9 pick a word as the palette
// does (in notes mode, N, they toggle notes), Ctrl+Shift+N notes every empty cell's candidates,
// Space or Enter places and Delete or Backspace clears in the cursor's cell, and Ctrl with N, O, S,
// P, H, E, Z, Y (or Shift+Z) stand for the buttons and undo and redo; Ctrl+Shift+H explains the
// next step. Keys typed into a text box, or into the table editor, stay there.
class KeyboardPlay : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(KeyboardPlay)

public:
    explicit KeyboardPlay(TaaForm1 *window);
    ~KeyboardPlay() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addShortcut(QKeyCombination keys, const char *button);
    bool playkey(int key, bool onBoard);
    // N: keys 1 to 9 toggle notes in the keyboard's cell instead of picking words.
    void togglenotes();

    bool notes_ = false;

    TaaForm1 *window_;
    QWidget *boardPanel_; // the board and the status bar
    QWidget *rightPanel_; // Start New Game, the palette, the toolbar, About, Option, Close
};
