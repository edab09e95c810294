#pragma once

#include "engine/playhistory.h"

#include <QString>
#include <QStringList>
#include <Qt>

class CellBoard;
class Prompter;
class TQJ;
class TextTables;

// The hidden list of the nine words in play; its selected index plus one is the selected word.
struct PaletteList {
    QStringList items;
    int itemIndex = -1; // -1: nothing selected yet

    int selectedWord() const { return itemIndex + 1; }
};

// The rules of play, on the main board. They keep no state: the player's entries live in the
// board's cells and the model is the reference for every check.
class GameRules {
public:
    GameRules(const TQJ &model, CellBoard &board, const QStringList &curwords,
              const PaletteList &palette, const TextTables &texts, Prompter &prompter);

    // Left places the selected word, right clears; then the solved test, the fonts and the
    // highlight run whatever the button.
    void cellmousedown(int i, int j, Qt::MouseButton button);
    // Compares texts: a cell counts when it shows the word of its solution value.
    bool checksolved();
    // The same test without the message.
    bool issolved() const;
    // Compares word numbers: filled cells whose number differs from the solution turn red.
    bool markerrors();
    void highlightword(int w);

    void tbcheckerrorClick();
    // Fills the first empty cell in reading order; deliberately no highlight afterwards.
    void tbshowhintClick();
    // False when the player declined.
    bool tbrestartClick();

    // Where placements, clearings and hints are kept for undo; none by default. Restart empties
    // it; so must whoever deals or loads another game.
    void setHistory(PlayHistory *history) { history_ = history; }
    // Take back or make again the last step, then the fonts, the highlight of the word selected
    // now and the solved test follow. False when there was nothing to take back or make again.
    bool undo();
    bool redo();

private:
    // Puts a board of the history on screen as the step left it.
    void showstep(const BoardState &state, int word);

    const TQJ &model_;
    CellBoard &board_;
    const QStringList &curwords_;
    const PaletteList &palette_;
    const TextTables &texts_;
    Prompter &prompter_;
    PlayHistory *history_ = nullptr;
};
