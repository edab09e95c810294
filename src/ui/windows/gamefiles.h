#pragma once

#include "storage/autosave.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>

class GameSession;
class Prompter;
struct ProgramState;
struct SavedGame;

// Save, Open and the kept game: what goes between the game in play and files, with the
// questions and messages on the way.
class GameFiles : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(GameFiles)

public:
    struct Hooks {
        std::function<void()> started;                                // a game was loaded
        std::function<void(const QString &, const QString &)> sayKey; // key, %1
    };

    GameFiles(QObject *parent, GameSession &game, Prompter &prompter, ProgramState &state,
              Hooks hooks);

    void save();
    void open();
    // Makes a saved game the game in play.
    void load(const SavedGame &game, const KeptPlay &play = {});
    // Start-up: the game kept by the last run becomes the game in play, when the settings say
    // so. A file that is no saved game is put aside and the start goes on without a game.
    void resume();
    // Whether a new or loaded game may replace the game in play: an unsolved one with the
    // player's words in it is asked about first, unless the player said not to ask again.
    bool mayreplace();
    // Closing: the game is kept; when that fails, Save is offered elsewhere, unless the game
    // is solved or the session ends.
    void keepAtClose(bool ending);

private:
    // A failure of Save or Open: the text of key naming the file, then the reason below it.
    QString failure(const QString &key, const QString &file, const QString &reason) const;

    GameSession &game_;
    Prompter &prompter_;
    ProgramState &state_;
    Hooks hooks_;
};
