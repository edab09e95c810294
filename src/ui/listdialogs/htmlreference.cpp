#include "listdialogs/htmlreference.h"

#include <QTextDocumentFragment>

#include <algorithm>

QString htmlreference(QStringView name)
{
    // Only a plain name makes the fragment one reference and nothing else.
    if (name.isEmpty() ||
        !std::all_of(name.begin(), name.end(), [](QChar c) { return c.isLetterOrNumber(); }))
        return {};
    const QString typed = u'&' + name.toString() + u';';
    // White space kept as it is: outside it the reader would turn an en space into a plain one,
    // and one standing alone into nothing.
    const QString text =
        QTextDocumentFragment::fromHtml(QStringLiteral("<span style=\"white-space:pre\">") + typed +
                                        QStringLiteral("</span>"))
            .toRawText();
    return text == typed ? QString() : text;
}
