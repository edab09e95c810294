#include "wordlists/sharelimits.h"

#include "text/textrules.h"

#include <QList>

QString sharefieldname(int field)
{
    if (field == 0)
        return QStringLiteral("the title");
    if (field == kShareNameField)
        return QStringLiteral("the name");
    if (isreadingfield(field))
        return QStringLiteral("reading %1").arg(glossedword(field));
    if (ismeaningfield(field))
        return QStringLiteral("meaning %1").arg(glossedword(field));
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
    if (glossedword(field) > 0 && text.isEmpty())
        return {};
    if (trimmedBlanks(text).isEmpty())
        return failure(ShareValueProblem{field, Kind::Empty, 0});
    // Any of them could split a record's line on the page.
    if (holdsControl(text))
        return failure(ShareValueProblem{field, Kind::Control, 0});
    const QList<uint> characters = text.toUcs4();
    const int limit = field == 0                 ? kMaxTitle
                      : field == kShareNameField ? kMaxName
                      : isreadingfield(field)    ? kMaxReading
                      : ismeaningfield(field)    ? kMaxMeaning
                                                 : kMaxWord;
    if (characters.size() > limit)
        return failure(ShareValueProblem{field, Kind::TooLong, limit});
    return {};
}
