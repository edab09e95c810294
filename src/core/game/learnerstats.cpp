#include "game/learnerstats.h"

#include "text/textfile.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {
constexpr qint64 kMaxStatsBytes = 16 * 1024 * 1024;
const QChar kPairMark(u'\t'); // no word holds a tab

int levelOf(int level)
{
    return std::clamp(level, 0, LearnerStats::kLevels - 1);
}

QJsonArray numbers(const std::array<int, LearnerStats::kLevels> &counts)
{
    QJsonArray array;
    for (const int n : counts)
        array.append(n);
    return array;
}

void readNumbers(const QJsonValue &value, std::array<int, LearnerStats::kLevels> &counts)
{
    const QJsonArray array = value.toArray();
    for (int level = 0; level < LearnerStats::kLevels && level < array.size(); ++level)
        counts[level] = std::max(0, array.at(level).toInt());
}
} // namespace

QString LearnerStats::fileIn(const QString &dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("statistics.json"));
}

LearnerStats LearnerStats::read(const QString &file)
{
    LearnerStats stats;
    stats.file_ = file;
    if (!QFileInfo::exists(file))
        return stats;
    const TextFileResult read = readtextfile(file, kMaxStatsBytes);
    if (!read) {
        stats.problem_ = read.error().reason;
        return stats;
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(read->text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        stats.problem_ = error.errorString();
        return stats;
    }
    const QJsonObject lists = document.object().value(QLatin1String("lists")).toObject();
    for (auto it = lists.begin(); it != lists.end(); ++it) {
        const QJsonObject entry = it.value().toObject();
        ListStats &list = stats.lists_[it.key()];
        readNumbers(entry.value(QLatin1String("started")), list.started);
        readNumbers(entry.value(QLatin1String("solved")), list.solved);
        const QJsonArray times = entry.value(QLatin1String("seconds")).toArray();
        for (int level = 0; level < kLevels && level < times.size(); ++level)
            for (const QJsonValue &s : times.at(level).toArray())
                list.seconds[level].append(qint64(s.toDouble()));
        const QJsonObject confused = entry.value(QLatin1String("confused")).toObject();
        for (auto pair = confused.begin(); pair != confused.end(); ++pair) {
            const QStringList words = pair.key().split(kPairMark);
            if (words.size() == 2 && pair.value().toInt() > 0)
                list.confused.insert({words.at(0), words.at(1)}, pair.value().toInt());
        }
    }
    return stats;
}

void LearnerStats::started(const QString &list, int level)
{
    ++lists_[list].started[levelOf(level)];
    dirty_ = true;
}

void LearnerStats::solved(const QString &list, int level, qint64 seconds)
{
    ListStats &stats = lists_[list];
    ++stats.solved[levelOf(level)];
    stats.seconds[levelOf(level)].append(seconds);
    dirty_ = true;
}

void LearnerStats::confused(const QString &list, const QString &placed, const QString &belonged)
{
    if (placed.isEmpty() || belonged.isEmpty() || placed == belonged)
        return;
    ++lists_[list].confused[{placed, belonged}];
    dirty_ = true;
}

void LearnerStats::reset()
{
    lists_.clear();
    dirty_ = true;
}

QList<QPair<LearnerStats::Pair, int>> LearnerStats::mostConfused(const QString &list,
                                                                 int count) const
{
    QList<QPair<Pair, int>> pairs;
    const auto found = lists_.constFind(list);
    if (found == lists_.constEnd())
        return pairs;
    for (auto it = found->confused.constBegin(); it != found->confused.constEnd(); ++it)
        pairs.append({it.key(), it.value()});
    std::sort(pairs.begin(), pairs.end(), [](const auto &a, const auto &b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    return pairs.mid(0, count);
}

Status LearnerStats::save()
{
    if (!problem_.isEmpty())
        return failure(problem_);
    QJsonObject lists;
    for (auto it = lists_.constBegin(); it != lists_.constEnd(); ++it) {
        QJsonObject entry;
        entry.insert(QLatin1String("started"), numbers(it->started));
        entry.insert(QLatin1String("solved"), numbers(it->solved));
        QJsonArray times;
        for (const QList<qint64> &level : it->seconds) {
            QJsonArray seconds;
            for (const qint64 s : level)
                seconds.append(double(s));
            times.append(seconds);
        }
        entry.insert(QLatin1String("seconds"), times);
        QJsonObject confused;
        for (auto pair = it->confused.constBegin(); pair != it->confused.constEnd(); ++pair)
            confused.insert(pair.key().first + kPairMark + pair.key().second, pair.value());
        entry.insert(QLatin1String("confused"), confused);
        lists.insert(it.key(), entry);
    }
    QJsonObject document;
    document.insert(QLatin1String("format"), 1);
    document.insert(QLatin1String("lists"), lists);
    const Status written =
        writewholefile(file_, QJsonDocument(document).toJson(QJsonDocument::Indented));
    if (written)
        dirty_ = false;
    return written;
}
