#include "engine/fontrule.h"

#include "text/textrules.h"

#include <QList>

#include <algorithm>

int longestpiece(const QString &text, const QString &separator)
{
    const QStringView rest = trimmedBlanks(text);
    if (rest.isEmpty())
        return 0;
    int longest = 0;
    for (const QStringView piece : rest.split(separator))
        longest = std::max(longest, int(piece.size()));
    return longest;
}

FontFit fontFor(const FontTable &table, int length)
{
    const auto row = std::find_if(table.begin(), table.end(), [length](const FontStep &step) {
        return length <= step.longest;
    });
    return row != table.end() ? row->fit : table.end()[-1].fit;
}
