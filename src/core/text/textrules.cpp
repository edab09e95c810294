#include "text/textrules.h"

namespace {
bool isBlank(QChar c)
{
    return c.unicode() <= 0x20;
}
} // namespace

QStringView trimmedBlanks(QStringView text)
{
    qsizetype start = 0, end = text.size();
    while (start < end && isBlank(text.at(start)))
        ++start;
    while (end > start && isBlank(text.at(end - 1)))
        --end;
    return text.mid(start, end - start);
}

bool isEmptyText(QStringView text)
{
    return trimmedBlanks(text).isEmpty();
}

bool isBlankWord(QStringView text)
{
    for (const QChar c : text)
        if (c.unicode() > 0x20 && !c.isSpace() && c.category() != QChar::Other_Format)
            return false;
    return true;
}

bool isControlCharacter(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

bool holdsControl(QStringView text)
{
    for (const QChar c : text)
        if (isControlCharacter(c.unicode()))
            return true;
    return false;
}

int digitValue(char32_t c, int base)
{
    if (c >= U'0' && c <= U'9')
        return int(c - U'0');
    if (base == 16 && c >= U'a' && c <= U'f')
        return int(c - U'a') + 10;
    if (base == 16 && c >= U'A' && c <= U'F')
        return int(c - U'A') + 10;
    return -1;
}
