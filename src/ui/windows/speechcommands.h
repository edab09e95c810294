#pragma once

#include "speech/pronouncer.h"
#include "speech/speaker.h"

#include <QObject>

#include <memory>

class GameSession;
class Prompter;
class TaaForm1;
class Ttntstdsudoku;
struct ProgramState;

// Speech through the speech component, loaded when the first word is spoken so that the
// start-up pays nothing for it; without the component every word says so.
class ComponentSpeaker : public Speaker {
public:
    SpeechStatus say(const QString &text, const QString &language, double rate) override;

private:
    bool tried_ = false;
    std::unique_ptr<Speaker> speaker_;
};

// Ctrl+K on the main window speaks the word at the keyboard's cell, or the selected word; the
// Solution window speaks a word clicked. The settings say whether words are spoken unasked.
class SpeechCommands : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(SpeechCommands)

public:
    SpeechCommands(TaaForm1 *window, GameSession &game, ProgramState &state, Prompter &prompter);

    // Where words go; the component's speaker unless the tests give another.
    void setSpeaker(Speaker &speaker);
    // Ctrl+K.
    void speakAtCursor();
    // A click on a cell of the Solution window's board speaks its word.
    void listen(Ttntstdsudoku *solutionBoard);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TaaForm1 *window_;
    ComponentSpeaker component_;
    Pronouncer *pronouncer_;
    Ttntstdsudoku *solution_ = nullptr;
};
