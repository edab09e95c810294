#include "speech/spokenword.h"

#include <QLocale>

#include <array>
#include <map>

namespace {
// Scripts that tell one language to speak them. Latin and Cyrillic serve many, and speak as
// the most taught of them unless the list names another.
QString languageOfScript(QChar::Script script)
{
    switch (script) {
    case QChar::Script_Han:
        return QStringLiteral("zh");
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
        return QStringLiteral("ja");
    case QChar::Script_Hangul:
        return QStringLiteral("ko");
    case QChar::Script_Latin:
        return QStringLiteral("en");
    case QChar::Script_Cyrillic:
        return QStringLiteral("ru");
    case QChar::Script_Greek:
        return QStringLiteral("el");
    case QChar::Script_Arabic:
        return QStringLiteral("ar");
    case QChar::Script_Hebrew:
        return QStringLiteral("he");
    case QChar::Script_Thai:
        return QStringLiteral("th");
    case QChar::Script_Devanagari:
        return QStringLiteral("hi");
    case QChar::Script_Georgian:
        return QStringLiteral("ka");
    case QChar::Script_Armenian:
        return QStringLiteral("hy");
    default:
        return {};
    }
}

// How many letters of each script text has; kana counts as Japanese, Han apart from it.
struct ScriptCount {
    std::map<QString, int> letters; // by the language of the script
    int han = 0;
    int kana = 0;

    void add(const QString &text)
    {
        for (const uint code : text.toUcs4()) {
            const QChar::Script script = QChar::script(code);
            if (script == QChar::Script_Common || script == QChar::Script_Inherited)
                continue;
            const QString language = languageOfScript(script);
            if (language.isEmpty())
                continue;
            han += script == QChar::Script_Han;
            kana += language == QLatin1String("ja");
            ++letters[language];
        }
    }

    // The language with most letters; Han beside any kana is Japanese.
    QString language() const
    {
        if (kana > 0 && han > 0)
            return QStringLiteral("ja");
        QString best;
        int most = 0;
        for (const auto &[language, count] : letters)
            if (count > most) {
                best = language;
                most = count;
            }
        return best;
    }
};

bool holdsHan(const QString &text)
{
    for (const uint code : text.toUcs4())
        if (QChar::script(code) == QChar::Script_Han)
            return true;
    return false;
}
} // namespace

QString scriptlanguage(const QString &text)
{
    ScriptCount count;
    count.add(text);
    return count.language();
}

QString detectedlanguage(const WordSet &set)
{
    ScriptCount words;
    bool kanaReadings = false;
    for (const Word &word : set.words) {
        words.add(word.text);
        // Kana readings of Han words: Japanese, however the words alone look.
        kanaReadings = kanaReadings ||
                       (holdsHan(word.text) && scriptlanguage(word.reading) == QLatin1String("ja"));
    }
    if (kanaReadings)
        return QStringLiteral("ja");
    return words.language();
}

QString listlanguage(const WordSet &set)
{
    return set.language.isEmpty() ? detectedlanguage(set) : set.language;
}

QString spokenform(const Word &word, const QString &language)
{
    const QString reading = word.reading.trimmed();
    // Speech engines read kana but take kanji for Chinese characters and misread them.
    if (language == QLatin1String("ja") && !reading.isEmpty() && holdsHan(word.text))
        return reading;
    return word.text.trimmed();
}

QStringList speechlanguages()
{
    return {QStringLiteral("zh"), QStringLiteral("ja"), QStringLiteral("en"), QStringLiteral("ko"),
            QStringLiteral("fr"), QStringLiteral("de"), QStringLiteral("es"), QStringLiteral("it"),
            QStringLiteral("pt"), QStringLiteral("ru"), QStringLiteral("vi"), QStringLiteral("th"),
            QStringLiteral("ar")};
}

QString languagename(const QString &language)
{
    if (language == QLatin1String("zh"))
        return QStringLiteral("中文");
    const QString name = QLocale(language).nativeLanguageName();
    return name.isEmpty() ? language : name;
}
