#include "speechcomponent.h"

#include <QHash>
#include <QLocale>
#include <QTextToSpeech>
#include <QVoice>

#include <memory>
#include <optional>
#include <utility>

namespace {
// The engine of the system, chosen once a session and kept.
class QtSpeaker : public Speaker {
public:
    SpeechStatus say(const QString &text, const QString &language, double rate) override
    {
        if (!engine_ && !start())
            return SpeechStatus::NoEngine;
        if (!choose(language))
            return SpeechStatus::NoVoice;
        engine_->setRate(rate);
        engine_->say(text);
        return SpeechStatus::Spoken;
    }

private:
    bool start()
    {
        if (failed_)
            return false;
        const QStringList engines = QTextToSpeech::availableEngines();
        // speech-dispatcher where it is installed: the voices of the desktop's screen reader.
        const QString name = engines.contains(QStringLiteral("speechd")) ? QStringLiteral("speechd")
                             : engines.isEmpty()                         ? QString()
                                                                         : engines.first();
        if (!name.isEmpty()) {
            engine_ = std::make_unique<QTextToSpeech>(name);
            if (engine_->state() != QTextToSpeech::Error)
                return true;
            qWarning("speech: %s", qPrintable(engine_->errorString()));
            engine_.reset();
        }
        failed_ = true;
        return false;
    }

    // The voice for language, found once; false when the engine has none.
    bool choose(const QString &language)
    {
        if (language == current_)
            return true;
        auto known = voices_.constFind(language);
        if (known == voices_.constEnd())
            known = voices_.insert(language, find(language));
        if (!known->has_value())
            return false;
        engine_->setLocale(known->value().first);
        if (!known->value().second.name().isEmpty())
            engine_->setVoice(known->value().second);
        current_ = language;
        return true;
    }

    using Choice = std::optional<std::pair<QLocale, QVoice>>;

    Choice find(const QString &language)
    {
        const QLocale wanted(language);
        for (const QLocale &locale : engine_->availableLocales())
            if (locale.language() == wanted.language() && locale != QLocale::c())
                return std::make_pair(locale, QVoice());
        // Some engines' voices lie under no locale Qt knows: espeak-ng's Mandarin is "cmn".
        // Such a voice is found by the language's English name at the head of its own.
        const QString english = QLocale::languageToString(wanted.language());
        engine_->setLocale(QLocale::c());
        if (engine_->locale() == QLocale::c()) {
            for (const QVoice &voice : engine_->availableVoices())
                if (voice.name().startsWith(english) && !voice.name().contains(QLatin1Char('+')))
                    return std::make_pair(QLocale::c(), voice);
        }
        current_.clear();
        return std::nullopt;
    }

    std::unique_ptr<QTextToSpeech> engine_;
    bool failed_ = false;
    QString current_;
    QHash<QString, Choice> voices_;
};
} // namespace

std::unique_ptr<Speaker> SpeechComponent::newSpeaker()
{
    return std::make_unique<QtSpeaker>();
}
