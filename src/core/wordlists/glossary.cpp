#include "wordlists/glossary.h"

#include "text/textfile.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
// No glossary comes near this; a larger file is refused before it is read.
constexpr qint64 kMaxGlossaryBytes = 16 * 1024 * 1024;
const char *const kLanguages[3] = {"en", "zh", "ja"};

// The "words" object of a glossary file, or why there is none.
Result<QJsonObject> wordsOf(const QString &path)
{
    const TextFileResult read = readtextfile(path, kMaxGlossaryBytes);
    if (!read)
        return failure(read.error().reason);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(read->text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        return failure(QStringLiteral("%1 (%2)").arg(error.errorString()).arg(error.offset));
    if (!document.isObject() || !document.object().value(QLatin1String("words")).isObject())
        return failure("no \"words\" object");
    return document.object().value(QLatin1String("words")).toObject();
}
} // namespace

QString Glossary::fileIn(const QString &dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("glossary.json"));
}

QString Glossary::builtInSeed()
{
    return QStringLiteral(":/wordlists/glossary.json");
}

QString Glossary::key(const QString &word)
{
    return word.trimmed();
}

Glossary Glossary::read(const QString &file, const QString &seed)
{
    Glossary glossary;
    glossary.file_ = file;
    if (!seed.isEmpty()) {
        if (const Result<QJsonObject> words = wordsOf(seed)) {
            for (auto it = words->begin(); it != words->end(); ++it) {
                const QJsonObject entry = it.value().toObject();
                SeedGloss gloss;
                gloss.reading = entry.value(QLatin1String("reading")).toString();
                const QJsonValue meaning = entry.value(QLatin1String("meaning"));
                for (int lang = 0; lang < 3; ++lang)
                    gloss.meanings[lang] =
                        meaning.isObject()
                            ? meaning.toObject().value(QLatin1String(kLanguages[lang])).toString()
                            : meaning.toString();
                glossary.seed_.insert(key(it.key()), gloss);
            }
        }
    }
    if (!QFileInfo::exists(file))
        return glossary;
    const Result<QJsonObject> words = wordsOf(file);
    if (!words) {
        glossary.problem_ = words.error();
        return glossary;
    }
    for (auto it = words->begin(); it != words->end(); ++it) {
        const QJsonObject entry = it.value().toObject();
        glossary.user_.insert(key(it.key()), {entry.value(QLatin1String("reading")).toString(),
                                              entry.value(QLatin1String("meaning")).toString()});
    }
    return glossary;
}

Gloss Glossary::find(const QString &word, int langid) const
{
    const QString k = key(word);
    if (const auto user = user_.constFind(k); user != user_.constEnd())
        return *user;
    const auto seed = seed_.constFind(k);
    if (seed == seed_.constEnd())
        return {};
    const int lang = langid >= 0 && langid < 3 ? langid : 0;
    QString meaning = seed->meanings[lang];
    // A word of the learner's own language has no meaning in it; one in another helps more
    // than none.
    for (int other = 0; meaning.isEmpty() && other < 3; ++other)
        meaning = seed->meanings[other];
    return {seed->reading, meaning};
}

void Glossary::fill(WordSet &set, int langid) const
{
    for (Word &word : set.words) {
        if (!word.reading.isEmpty() || !word.meaning.isEmpty())
            continue;
        const Gloss gloss = find(word.text, langid);
        word.reading = gloss.reading;
        word.meaning = gloss.meaning;
    }
}

bool Glossary::take(const WordSet &set, bool editing)
{
    bool changed = false;
    for (const Word &word : set.words) {
        const QString k = key(word.text);
        if (k.isEmpty())
            continue;
        const Gloss gloss{word.reading.trimmed(), word.meaning.trimmed()};
        if (gloss.isEmpty() && !editing)
            continue;
        const auto user = user_.constFind(k);
        if (gloss.isEmpty() && !seed_.contains(k)) {
            changed = user_.remove(k) > 0 || changed;
            continue;
        }
        if (user != user_.constEnd() && *user == gloss)
            continue;
        user_.insert(k, gloss);
        changed = true;
    }
    return changed;
}

Status Glossary::save() const
{
    if (!problem_.isEmpty())
        return failure(problem_);
    QJsonObject words;
    for (auto it = user_.constBegin(); it != user_.constEnd(); ++it) {
        QJsonObject entry;
        if (!it->reading.isEmpty())
            entry.insert(QLatin1String("reading"), it->reading);
        if (!it->meaning.isEmpty())
            entry.insert(QLatin1String("meaning"), it->meaning);
        words.insert(it.key(), entry);
    }
    QJsonObject document;
    document.insert(QLatin1String("format"), 1);
    document.insert(QLatin1String("words"), words);
    return writewholefile(file_, QJsonDocument(document).toJson(QJsonDocument::Indented));
}
