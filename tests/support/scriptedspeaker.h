#pragma once

#include "speech/speaker.h"

#include <QList>
#include <QString>

// Speech from a script: every word handed over is kept, and answered with status.
class ScriptedSpeaker : public Speaker {
public:
    struct Said {
        QString text, language;
        double rate = 0;
    };

    SpeechStatus say(const QString &text, const QString &language, double rate) override
    {
        said.append({text, language, rate});
        return status;
    }

    QList<Said> said;
    SpeechStatus status = SpeechStatus::Spoken;
};
