#include "i18n/texttable.h"

#include "text/textfile.h"

TextTable TextTable::fromText(const QString &text)
{
    return TextTable(textlines(text));
}

QString TextTable::keyOf(const QString &line)
{
    const int eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : line.left(eq);
}

QString TextTable::valueOf(const QString &line)
{
    const int eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : line.mid(eq + 1);
}

int TextTable::indexOf(const QString &key) const
{
    for (int n = 0; n < lines_.size(); ++n) {
        const QString &line = lines_.at(n);
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq >= 0 && QStringView(line).left(eq).compare(key, Qt::CaseInsensitive) == 0)
            return n;
    }
    return -1;
}

QString TextTable::value(const QString &key) const
{
    const int n = indexOf(key);
    return n < 0 ? QString() : valueOf(lines_.at(n));
}

TextTables::TextTables()
{
    for (int n = 0; n < kLanguages; ++n) {
        const TextFileResult file = readtextfile(QStringLiteral(":/i18n/lang%1.txt").arg(n));
        if (file)
            langs_[n] = TextTable::fromText(file->text);
    }
    vl_ = langs_[0];
}

void TextTables::selectLanguage()
{
    if (langid_ >= 0 && langid_ < kLanguages)
        vl_ = langs_[langid_];
}
