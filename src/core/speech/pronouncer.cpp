#include "speech/pronouncer.h"

#include "speech/spokenword.h"

#include "engine/prompter.h"
#include "game/gamesession.h"
#include "i18n/texttable.h"
#include "storage/settings.h"

#include <algorithm>

namespace {
// The interface's own language speaks a list that tells none, such as one of digits.
QString interfaceLanguage(const TextTables &texts)
{
    switch (texts.langid()) {
    case 1:
        return QStringLiteral("zh");
    case 2:
        return QStringLiteral("ja");
    default:
        return QStringLiteral("en");
    }
}
} // namespace

Pronouncer::Pronouncer(GameSession &session, Speaker &speaker, const TextTables &texts,
                       const SettingsState &settings, Prompter &prompter, QObject *parent)
    : QObject(parent), session_(session), speaker_(&speaker), texts_(texts), settings_(settings),
      prompter_(prompter)
{
    connect(&session, &GameSession::picked, this, &Pronouncer::picked);
    connect(&session, &GameSession::placed, this,
            [this](int, int, int k) { Pronouncer::placed(k); });
}

void Pronouncer::speakAt(int i, int j)
{
    if (!session_.inplay())
        return;
    int k = 0;
    if (i >= 1 && i <= 9 && j >= 1 && j <= 9) {
        const GameCell &cell = session_.model().cell(i, j);
        k = cell.given ? cell.solution : cell.entry;
    }
    speakWord(k != 0 ? k : session_.selectedWord());
}

void Pronouncer::speakWord(int k)
{
    const WordSet &words = session_.model().curwords();
    if (session_.inplay() && k >= 1 && k <= WordSet::kWords)
        speak(words.words[k - 1], words);
}

bool Pronouncer::speak(const Word &word, const WordSet &list)
{
    QString language = listlanguage(list);
    if (language.isEmpty())
        language = interfaceLanguage(texts_);
    const QString text = spokenform(word, language);
    if (text.isEmpty())
        return false;
    const SpeechStatus status =
        speaker_->say(text, language, std::clamp(settings_.speechrate, -10, 10) / 10.0);
    if (status != SpeechStatus::Spoken)
        tell(status, language);
    return status == SpeechStatus::Spoken;
}

void Pronouncer::picked(int k)
{
    if (SpeakWhen(settings_.speakwords) == SpeakWhen::Selected)
        speakWord(k);
}

void Pronouncer::placed(int k)
{
    if (SpeakWhen(settings_.speakwords) == SpeakWhen::Placed)
        speakWord(k);
}

void Pronouncer::tell(SpeechStatus status, const QString &language)
{
    // Once a session: after that the game is played without speech, as the player was told.
    if (status == SpeechStatus::NoVoice) {
        if (toldVoices_.contains(language))
            return;
        toldVoices_.insert(language);
        prompter_.inform(texts_.uitext(QStringLiteral("msgnovoice")).arg(languagename(language)));
        return;
    }
    if (toldMissing_)
        return;
    toldMissing_ = true;
    prompter_.inform(status == SpeechStatus::NoComponent
                         ? texts_.uitext(QStringLiteral("msgnospeechcomponent"))
                               .arg(QString::fromLatin1(kSpeechComponent))
                         : texts_.uitext(QStringLiteral("msgnospeech")));
}
