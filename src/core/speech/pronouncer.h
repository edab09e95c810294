#pragma once

#include "engine/wordset.h"
#include "speech/speaker.h"

#include <QObject>
#include <QSet>
#include <QString>

class GameSession;
class Prompter;
class TextTables;
struct SettingsState;

// When words are spoken without being asked for, as the settings keep it.
enum class SpeakWhen { Never = 0, Selected = 1, Placed = 2 };

// The words of the game in play spoken: on Ctrl+K, and by choice whenever a word is selected or
// placed. Each word goes in its list's language, from its reading where the written form would
// be misread. When speech cannot be had, the player is told once what to install, and the game
// goes on without it.
class Pronouncer : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(Pronouncer)

public:
    // When and how fast are read from settings at each word.
    Pronouncer(GameSession &session, Speaker &speaker, const TextTables &texts,
               const SettingsState &settings, Prompter &prompter, QObject *parent = nullptr);

    // Where the words go from now on.
    void setSpeaker(Speaker &speaker) { speaker_ = &speaker; }

    // Ctrl+K: the word in cell (i, j), or the selected word when that cell is empty or there is
    // no such cell. Nothing before a game.
    void speakAt(int i, int j);
    // Word k (1..9) of the game in play.
    void speakWord(int k);
    // A word of list; false when it was not spoken.
    bool speak(const Word &word, const WordSet &list);

private:
    void picked(int k);
    void placed(int k);
    void tell(SpeechStatus status, const QString &language);

    GameSession &session_;
    Speaker *speaker_;
    const TextTables &texts_;
    const SettingsState &settings_;
    Prompter &prompter_;
    bool toldMissing_ = false; // that there is no speech at all
    QSet<QString> toldVoices_; // the languages told to have no voice
};
