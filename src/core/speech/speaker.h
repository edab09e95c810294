#pragma once

#include <QObject>
#include <QString>

#include <memory>

// What became of a word handed to speech.
enum class SpeechStatus {
    Spoken,
    NoComponent, // the program's speech component is not installed
    NoEngine,    // no speech engine answers (speech-dispatcher missing or not running)
    NoVoice,     // the engine has no voice for the language
};

// Speech as the game uses it; the speech component gives the real one, the tests a script.
class Speaker {
public:
    virtual ~Speaker() = default;
    // Hands text over to be spoken in language (a short BCP 47 code: "zh", "ja") at rate, from
    // -1 (slowest) to 1 (fastest). It returns at once; the speaking goes on meanwhile.
    virtual SpeechStatus say(const QString &text, const QString &language, double rate) = 0;
};

// What the speech component's root object implements.
class SpeakerFactory {
public:
    virtual ~SpeakerFactory() = default;
    virtual std::unique_ptr<Speaker> newSpeaker() = 0;
};

#define VASKELIO_SPEAKER_IID "org.vaskelio.SpeakerFactory/1"
Q_DECLARE_INTERFACE(SpeakerFactory, VASKELIO_SPEAKER_IID)

inline constexpr char kSpeechComponent[] = "vaskelio-speech";
