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

struct GlossaryFile {
    QJsonObject words;
    QJsonObject lists; // empty when the file has none
};

// The "words" and "lists" objects of a glossary file, or why there are none.
Result<GlossaryFile> partsOf(const QString &path)
{
    const TextFileResult read = readtextfile(path, kMaxGlossaryBytes);
    if (!read)
        return failure(read.error().reason);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(read->text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        return failure(QStringLiteral("%1 (%2)").arg(error.errorString()).arg(error.offset));
    const QJsonObject root = document.object();
    if (!document.isObject() || !root.value(QLatin1String("words")).isObject())
        return failure("no \"words\" object");
    const QJsonValue lists = root.value(QLatin1String("lists"));
    // Entries of another shape would be dropped by the next save: the file is left as it is.
    if (!lists.isUndefined() && !lists.isObject())
        return failure("\"lists\" is no object");
    return GlossaryFile{root.value(QLatin1String("words")).toObject(), lists.toObject()};
}

// Title -> language of a "lists" object; an entry without a language string maps to "".
QHash<QString, QString> languagesOf(const QJsonObject &lists)
{
    QHash<QString, QString> languages;
    for (auto it = lists.begin(); it != lists.end(); ++it) {
        const QString title = oneline(it.key()).trimmed();
        if (!title.isEmpty())
            languages.insert(
                title, it.value().toObject().value(QLatin1String("language")).toString().trimmed());
    }
    return languages;
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

QString Glossary::titleKey(const QString &title)
{
    // As lists.txt keeps a title: one line.
    return oneline(title).trimmed();
}

Glossary Glossary::read(const QString &file, const QString &seed)
{
    Glossary glossary;
    glossary.file_ = file;
    if (!seed.isEmpty()) {
        if (const Result<GlossaryFile> parts = partsOf(seed)) {
            const QJsonObject &words = parts->words;
            for (auto it = words.begin(); it != words.end(); ++it) {
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
            glossary.seedLanguages_ = languagesOf(parts->lists);
        }
    }
    if (!QFileInfo::exists(file))
        return glossary;
    const Result<GlossaryFile> parts = partsOf(file);
    if (!parts) {
        glossary.problem_ = parts.error();
        return glossary;
    }
    glossary.userLanguages_ = languagesOf(parts->lists);
    const QJsonObject &words = parts->words;
    for (auto it = words.begin(); it != words.end(); ++it) {
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

QString Glossary::language(const QString &title) const
{
    const QString k = titleKey(title);
    if (const auto user = userLanguages_.constFind(k); user != userLanguages_.constEnd())
        return *user;
    return seedLanguages_.value(k);
}

void Glossary::fill(WordSet &set, int langid) const
{
    if (set.language.isEmpty())
        set.language = language(set.title);
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
    const QString title = titleKey(set.title);
    const QString language = set.language.trimmed();
    if (!title.isEmpty() && (editing || !language.isEmpty())) {
        const auto user = userLanguages_.constFind(title);
        if (language.isEmpty() && !seedLanguages_.contains(title)) {
            changed = userLanguages_.remove(title) > 0;
        } else if (user == userLanguages_.constEnd() || *user != language) {
            userLanguages_.insert(title, language);
            changed = true;
        }
    }
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
    if (!userLanguages_.isEmpty()) {
        QJsonObject lists;
        for (auto it = userLanguages_.constBegin(); it != userLanguages_.constEnd(); ++it) {
            QJsonObject entry;
            if (!it->isEmpty())
                entry.insert(QLatin1String("language"), *it);
            lists.insert(it.key(), entry);
        }
        document.insert(QLatin1String("lists"), lists);
    }
    return writewholefile(file_, QJsonDocument(document).toJson(QJsonDocument::Indented));
}
