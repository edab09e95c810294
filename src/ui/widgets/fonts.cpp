#include "widgets/fonts.h"

#include <QFontDatabase>
#include <QStringList>

#include <initializer_list>

namespace {
int language = 0;

// The first of the faces that this system has, or empty.
QString firstInstalled(std::initializer_list<const char *> faces)
{
    static const QStringList installed = QFontDatabase::families();
    for (const char *face : faces) {
        const QString name = QString::fromLatin1(face);
        if (installed.contains(name, Qt::CaseInsensitive))
            return name;
    }
    return {};
}

const QString &latinFace()
{
    // Tahoma where it exists, else a face of Arial's widths; the windows were laid out for these.
    static const QString face = [] {
        const QString found =
            firstInstalled({"Tahoma", "Liberation Sans", "Arial", "Noto Sans", "DejaVu Sans"});
        return found.isEmpty() ? QStringLiteral("Tahoma") : found;
    }();
    return face;
}

const QString &cjkFace(bool japanese, bool serif)
{
    static const QString faces[2][2] = {
        {firstInstalled({"Noto Sans CJK SC", "Source Han Sans SC", "Microsoft YaHei", "SimSun"}),
         firstInstalled({"Noto Serif CJK SC", "Source Han Serif SC", "SimSun"})},
        {firstInstalled(
             {"Noto Sans CJK JP", "Source Han Sans JP", "Yu Gothic", "Meiryo", "MS Gothic"}),
         firstInstalled({"Noto Serif CJK JP", "Source Han Serif JP", "Yu Mincho", "MS Mincho"})}};
    return faces[japanese][serif];
}

bool isKana(char32_t c)
{
    return (c >= 0x3040 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF) ||
           (c >= 0xFF65 && c <= 0xFF9F);
}

bool isCjk(char32_t c)
{
    switch (QChar::script(c)) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Hangul:
    case QChar::Script_Bopomofo:
        return true;
    default:
        // CJK punctuation ("、", "。") and the full-width forms ("１", "＊").
        return (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF00 && c <= 0xFFEF);
    }
}

// Cells repaint often: walked in place rather than converted.
template<typename Test> bool anyCodePoint(const QString &text, Test test)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = text.at(i).unicode();
        if (text.at(i).isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        if (test(c))
            return true;
    }
    return false;
}
} // namespace

QFont dialogFont(int points)
{
    return dialogFont(points, language == 2);
}

QFont dialogFont(int points, bool japanese)
{
    QFont font(latinFace(), points);
    if (const QString &cjk = cjkFace(japanese, false); !cjk.isEmpty())
        font.setFamilies({latinFace(), cjk});
    // Qt keeps one set of fallback faces per primary face and style: without a difference in
    // style the Japanese labels would reuse the Chinese face found first. The strategy changes
    // nothing else for outline faces.
    if (japanese)
        font.setStyleStrategy(QFont::PreferQuality);
    return font;
}

QString latinFamily()
{
    return latinFace();
}

void installFontSubstitutes()
{
    // Kai faces first, then a serif CJK face that covers both Chinese and Japanese.
    QFont::insertSubstitutions(QStringLiteral("simkai"),
                               {QStringLiteral("KaiTi"), QStringLiteral("STKaiti"),
                                QStringLiteral("AR PL UKai CN"),
                                QStringLiteral("Noto Serif CJK SC")});
    // The windows were laid out for Tahoma; a face of Arial's widths keeps texts inside them.
    const QStringList sans{QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                           QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), sans);
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
}

void setTextLanguage(int langid)
{
    if (langid >= 0 && langid <= 2)
        language = langid;
}

int textLanguage()
{
    return language;
}

bool hasCjkText(const QString &text)
{
    return anyCodePoint(text, isCjk);
}

bool hasKana(const QString &text)
{
    return anyCodePoint(text, isKana);
}

QString cjkFamily(const QString &text, bool serif)
{
    return cjkFace(language == 2 || hasKana(text), serif);
}

QFont fontForText(const QFont &base, const QString &text)
{
    if (!hasCjkText(text))
        return base;
    const bool japanese = language == 2 || hasKana(text);
    const bool kai = base.family().compare(QLatin1String("simkai"), Qt::CaseInsensitive) == 0;
    if (kai && !japanese)
        return base;
    const QString &face = cjkFace(japanese, kai);
    if (face.isEmpty())
        return base;
    QFont font = base;
    font.setFamilies({face});
    return font;
}
