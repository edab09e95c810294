#include "engine/classset.h"

#include "engine/bank.h"

#include <QSet>

RandomSource::Clock seededClock(quint64 seed)
{
    return [seed, reading = quint64(0)]() mutable { return seed + reading++; };
}

Result<QList<TQJ>> pickpuzzles(const PuzzleBank &bank, int level, int count, RandomSource &random)
{
    if (level < 0 || level >= PuzzleBank::kLevels)
        return failure(QStringLiteral("level %1 does not exist; the levels are 0 to %2")
                           .arg(level)
                           .arg(PuzzleBank::kLevels - 1));
    if (count < 1 || count > kMaxClassSetSize)
        return failure(
            QStringLiteral("a set holds 1 to %1 puzzles, not %2").arg(kMaxClassSetSize).arg(count));
    QStringList distinct;
    QSet<QString> seen;
    for (int r = 1; r <= bank.lineCount(level); ++r) {
        const QString line = bank.line(level, r);
        if (!seen.contains(line)) {
            seen.insert(line);
            distinct.append(line);
        }
    }
    if (count > distinct.size())
        return failure(QStringLiteral("level %1 has %2 different puzzles, fewer than %3")
                           .arg(level)
                           .arg(distinct.size())
                           .arg(count));
    random.reseed();
    // A partial Fisher-Yates shuffle: the first count places end up a draw without replacement.
    for (int k = 0; k < count; ++k)
        distinct.swapItemsAt(k, k - 1 + random.draw(int(distinct.size()) - k));
    QList<TQJ> puzzles;
    for (int k = 0; k < count; ++k) {
        TQJ model(random);
        if (const PuzzleRead read = model.parsebank(distinct.at(k)); !read)
            return failure(QStringLiteral("level %1: %2").arg(level).arg(read.error().message()));
        puzzles.append(model);
    }
    return puzzles;
}
