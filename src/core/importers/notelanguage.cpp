#include "importers/notelanguage.h"

#include <QList>
#include <QLocale>

#include <utility>

namespace {
struct LanguageName {
    QString name; // case-folded
    QString code;
};

// Scripts written without spaces between words: a name in them is found inside a longer word.
bool unspaced(QChar c)
{
    switch (c.script()) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Hangul:
    case QChar::Script_Thai:
        return true;
    default:
        return false;
    }
}

bool letterAt(QStringView text, qsizetype at)
{
    return at >= 0 && at < text.size() && (text.at(at).isLetterOrNumber() || text.at(at).isMark());
}

// The names of the languages that have a two-letter code, the ones learners take up, in English
// and in their own script; and what flash-card decks of the main ones call them besides.
const QList<LanguageName> &languageNames()
{
    static const QList<LanguageName> names = [] {
        QList<LanguageName> all;
        auto add = [&all](const QString &name, const QString &code) {
            if (!name.isEmpty())
                all.append({name.toCaseFolded(), code});
        };
        for (int l = QLocale::C + 1; l <= QLocale::LastLanguage; ++l) {
            const auto language = QLocale::Language(l);
            const QString code = QLocale::languageToCode(language, QLocale::ISO639Part1);
            // "Church" Slavic is not what a deck of church words is written in.
            if (code.size() != 2 || code == QLatin1String("cu"))
                continue;
            add(QLocale::languageToString(language), code);
            add(QLocale(language).nativeLanguageName(), code);
        }
        const std::pair<const char *, const char *> kOthers[] = {
            {"mandarin", "zh"}, {"hanzi", "zh"},    {"pinyin", "zh"},     {"汉语", "zh"},
            {"漢語", "zh"},     {"华语", "zh"},     {"華語", "zh"},       {"普通话", "zh"},
            {"中国語", "zh"},   {"kanji", "ja"},    {"kana", "ja"},       {"hiragana", "ja"},
            {"katakana", "ja"}, {"日语", "ja"},     {"日語", "ja"},       {"hangul", "ko"},
            {"韩语", "ko"},     {"韓語", "ko"},     {"韓国語", "ko"},     {"英语", "en"},
            {"英語", "en"},     {"法语", "fr"},     {"フランス語", "fr"}, {"德语", "de"},
            {"ドイツ語", "de"}, {"西班牙语", "es"}, {"スペイン語", "es"}, {"俄语", "ru"},
            {"ロシア語", "ru"}, {"越南语", "vi"},   {"ベトナム語", "vi"}, {"泰语", "th"},
            {"タイ語", "th"},   {"意大利语", "it"}, {"イタリア語", "it"}, {"中文", "zh"}};
        for (const auto &[name, code] : kOthers)
            add(QString::fromUtf8(name), QString::fromLatin1(code));
        return all;
    }();
    return names;
}
} // namespace

QString localelanguage(QStringView locale)
{
    qsizetype end = 0;
    while (end < locale.size() && locale.at(end).isLetter())
        ++end;
    const QStringView code = locale.left(end);
    if (code.size() < 2 || code.size() > 3 ||
        (end < locale.size() && locale.at(end) != u'_' && locale.at(end) != u'-' &&
         locale.at(end) != u'.'))
        return {};
    const QLocale::Language language = QLocale::codeToLanguage(code.toString().toLower());
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return {};
    return QLocale::languageToCode(language);
}

QString namedlanguage(QStringView name)
{
    const QString folded = name.toString().toCaseFolded();
    qsizetype first = -1;
    qsizetype longest = 0;
    QString code;
    for (const LanguageName &language : languageNames()) {
        const qsizetype size = language.name.size();
        for (qsizetype at = folded.indexOf(language.name); at >= 0;
             at = folded.indexOf(language.name, at + 1)) {
            // "Thai" is no language inside "Thailand": a name in spaced script is a whole word.
            const bool whole = (unspaced(language.name.front()) || !letterAt(folded, at - 1)) &&
                               (unspaced(language.name.back()) || !letterAt(folded, at + size));
            if (!whole)
                continue;
            if (first < 0 || at < first || (at == first && size > longest)) {
                first = at;
                longest = size;
                code = language.code;
            }
            break;
        }
    }
    return code;
}

bool writtenin(const QString &language, const QStringList &texts)
{
    QList<QChar::Script> scripts;
    switch (QLocale(language).script()) {
    case QLocale::LatinScript:
        scripts = {QChar::Script_Latin};
        break;
    case QLocale::CyrillicScript:
        scripts = {QChar::Script_Cyrillic};
        break;
    case QLocale::GreekScript:
        scripts = {QChar::Script_Greek};
        break;
    case QLocale::ArabicScript:
        scripts = {QChar::Script_Arabic};
        break;
    case QLocale::HebrewScript:
        scripts = {QChar::Script_Hebrew};
        break;
    case QLocale::ThaiScript:
        scripts = {QChar::Script_Thai};
        break;
    case QLocale::DevanagariScript:
        scripts = {QChar::Script_Devanagari};
        break;
    case QLocale::HanScript:
    case QLocale::SimplifiedHanScript:
    case QLocale::TraditionalHanScript:
        scripts = {QChar::Script_Han};
        break;
    case QLocale::JapaneseScript:
        scripts = {QChar::Script_Han, QChar::Script_Hiragana, QChar::Script_Katakana};
        break;
    case QLocale::KoreanScript:
    case QLocale::HangulScript:
        scripts = {QChar::Script_Hangul, QChar::Script_Han};
        break;
    default:
        return true;
    }
    for (const QString &text : texts)
        for (const uint code : text.toUcs4())
            if (scripts.contains(QChar::script(code)))
                return true;
    return false;
}
