#include "wordlists/sharelimits.h"

#include "engine/cellboard.h"

namespace {
bool isbreaking(char32_t c)
{
    // Controls (line ends among them) and the Unicode line and paragraph separators: any of them
    // could split a record's line on the page.
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}
} // namespace

QString sharefieldname(int field)
{
    if (field == 0)
        return QStringLiteral("the title");
    if (field == kShareNameField)
        return QStringLiteral("the name");
    return QStringLiteral("word %1").arg(field);
}

QString ShareValueProblem::english() const
{
    switch (kind) {
    case Kind::Empty:
        return sharefieldname(field) + QStringLiteral(" is empty");
    case Kind::Control:
        return sharefieldname(field) +
               QStringLiteral(" holds a line break or another control character");
    case Kind::TooLong:
        break;
    }
    return sharefieldname(field) + QStringLiteral(" is longer than %1 characters").arg(limit);
}

Result<void, ShareValueProblem> checksharevalue(int field, const QString &text)
{
    using Kind = ShareValueProblem::Kind;
    if (trimmedBlanks(text).isEmpty())
        return failure(ShareValueProblem{field, Kind::Empty, 0});
    const QList<uint> characters = text.toUcs4();
    for (const uint c : characters)
        if (isbreaking(c))
            return failure(ShareValueProblem{field, Kind::Control, 0});
    const int limit = field == 0 ? kMaxTitle : field == kShareNameField ? kMaxName : kMaxWord;
    if (characters.size() > limit)
        return failure(ShareValueProblem{field, Kind::TooLong, limit});
    return {};
}
