#include "engine/bank.h"

#include "engine/random.h"
#include "text/textfile.h"

const PuzzleBank &PuzzleBank::builtIn()
{
    static const PuzzleBank bank;
    return bank;
}

PuzzleBank::PuzzleBank(const std::array<QStringList, kLevels> &levels)
{
    for (int level = 0; level < kLevels; ++level)
        levels_[level] = levels[level];
}

const QStringList &PuzzleBank::lines(int level) const
{
    auto &slot = levels_[level];
    if (!slot) {
        // Built into the program; were it ever missing, the level would simply have no lines.
        const TextFileResult read = readtextfile(QStringLiteral(":/bank/tk%1.txt").arg(level));
        slot = read ? levelLines(read->text) : QStringList();
    }
    return *slot;
}

QStringList PuzzleBank::levelLines(QStringView text)
{
    QStringList lines = textlines(text);
    lines.removeAll(QString());
    return lines;
}

int PuzzleBank::lineCount(int level) const
{
    if (level < 0 || level >= kLevels)
        return 0;
    return lines(level).size();
}

QString PuzzleBank::line(int level, int r) const
{
    if (level < 0 || level >= kLevels)
        return {};
    const QStringList &all = lines(level);
    return r >= 1 && r <= all.size() ? all.at(r - 1) : QString();
}

int bankLineFor(int r, int n)
{
    return r == n ? n - 1 : r;
}

PuzzleRead pickpuzzle(const PuzzleBank &bank, int level, TQJ &model, RandomSource &random)
{
    random.reseed();
    const int n = bank.lineCount(level);
    QString text;
    if (n >= 1)
        text = bank.line(level, bankLineFor(random.draw(n), n));
    return model.parsebank(text);
}

QString levelNameKey(int level)
{
    static const char *const keys[] = {"msgeasy", "msgstandard", "msghard", "msgexpert",
                                       "msgextreme"};
    return level >= 0 && level < 5 ? QString::fromLatin1(keys[level]) : QString();
}
