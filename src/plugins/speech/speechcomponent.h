#pragma once

#include "speech/speaker.h"

#include <QObject>
#include <QtPlugin>

// The speech component: Qt Text to Speech, loaded when the first word is spoken.
class SpeechComponent : public QObject, public SpeakerFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID VASKELIO_SPEAKER_IID)
    Q_INTERFACES(SpeakerFactory)

public:
    std::unique_ptr<Speaker> newSpeaker() override;
};
