#pragma once

class GameModel;
class PlayHistory;
class Prompter;
class TextTables;

// The rules of play, acting on the model. They keep no state of their own: the model holds the
// entries and marks, its solution is the reference for every check, and the views follow the
// model's signals. w is the word selected in the palette, 0 while none is.
class GameRules {
public:
    GameRules(GameModel &model, const TextTables &texts, Prompter &prompter);

    // A left click: the selected word into the cell. A right click: the cell cleared. Then the
    // solved test and the highlight of w run, whatever changed.
    void place(int i, int j, int w);
    void clear(int i, int j, int w);
    // The solved test and the highlight after a click that neither places nor clears.
    void settle(int w);
    // Note k in or out of an empty cell, one step.
    void toggleNote(int i, int j, int k, int w);
    // Every empty cell's notes made its candidates, one step.
    void fillNotes(int w);
    // Whether placing a word takes it from the notes of every cell that sees it; on by default.
    void setNoteCleanup(bool on) { cleanup_ = on; }
    // Compares texts: a cell counts when it shows the word of its solution.
    bool checksolved();
    // The same test without the message.
    bool issolved() const;
    // Compares word numbers: filled cells whose number differs from the solution are marked.
    bool markerrors();
    // The cells showing word w are highlighted, every other mark goes.
    void highlightword(int w);
    // The marks of the edge-middle boxes go; no other cell is touched.
    void shadeboxes();

    void tbcheckerrorClick();
    // Fills the first empty cell in reading order; deliberately no highlight afterwards.
    void tbshowhintClick(int w);
    // False when the player declined.
    bool tbrestartClick();

    // Where placements, clearings and hints are kept for undo; none by default. Restart empties
    // it; so must whoever deals or loads another game.
    void setHistory(PlayHistory *history) { history_ = history; }
    // Take back or make again the last step, then the highlight of the word selected now and
    // the solved test follow. False when there was nothing to take back or make again.
    bool undo(int w);
    bool redo(int w);

private:
    void aftermove(int w);
    void aftersteps(int stepword, int w);

    GameModel &model_;
    const TextTables &texts_;
    Prompter &prompter_;
    PlayHistory *history_ = nullptr;
    bool cleanup_ = true;
};
