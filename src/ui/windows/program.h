#pragma once

#include "engine/random.h"
#include "windows/programstate.h"

#include <QString>

#include <memory>

class GameSession;
class PagePrinter;
class Prompter;
class Settings;
class SpeechCommands;
class TaaForm1;
class Tfrmappend;
class Tfrmda;
class Tfrmnewgame;
class Tfrmsubmit;
class Tfrmwordlist;
class Twebwordlist;
class WordListStore;

// The running program: its shared state and every window, created once each, main window
// first. Closing the main window ends the program; destroying it writes the settings.
class Program {
public:
    // The application's names and fonts; once, before any window.
    static void prepareApplication();

    // shareBase: the word-list sharing service's base address (sharebase() in the program).
    // clock: where the game's random source takes its seeds; the process's source without one.
    Program(Prompter &prompter, Settings &settings, QString shareBase,
            RandomSource::Clock clock = {});
    ~Program();

    ProgramState &state() { return state_; }
    GameSession &game() { return *game_; }
    TaaForm1 &mainWindow() { return *main_; }
    Tfrmnewgame &frmnewgame();
    Tfrmda &frmda();
    // Ctrl+K and the words spoken unasked.
    SpeechCommands &speech() { return *speech_; }
    Tfrmwordlist &frmwordlist();
    Tfrmappend &frmappend();
    Tfrmsubmit &frmsubmit();
    Twebwordlist &webwordlist();

    // Shows the main window, centred on the screen; every other window waits for a command.
    void show();

    // The other windows, made once, in order, right after the main window's first paint so
    // that it shows sooner; earlier when a command (or a test) needs one.
    void makewindows();

    // Closes the main window so that main() starts the program again once the settings are
    // written; for a zoom the toolkit takes only at start.
    void restart();
    bool restartRequested() const { return restart_; }

private:
    Prompter &prompter_;
    QString shareBase_;
    std::unique_ptr<PagePrinter> printer_;
    ProgramState state_;
    // The game in play; made before the main window, which draws it, and kept until it is gone.
    std::unique_ptr<RandomSource> random_; // when the program was given a clock
    std::unique_ptr<GameSession> game_;
    // The one store of word lists; made before the dialogs that show it and kept until the
    // windows are gone.
    std::unique_ptr<WordListStore> wordlists_;
    std::unique_ptr<TaaForm1> main_;
    Tfrmda *frmda_ = nullptr;
    SpeechCommands *speech_ = nullptr; // belongs to the main window
    Tfrmnewgame *frmnewgame_ = nullptr;
    Tfrmwordlist *frmwordlist_ = nullptr;
    Tfrmappend *frmappend_ = nullptr;
    Tfrmsubmit *frmsubmit_ = nullptr;
    Twebwordlist *webwordlist_ = nullptr;
    bool restart_ = false;
};
