#pragma once

#include "text/result.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

#include <array>

// How a learner's games went and which words they mix up, per word list, kept in
// statistics.json in the data folder: the games started and solved at each level with the
// times of the solved ones, and for each pair (the word placed, the word that belonged) how
// often Check Error found it or the player took such a word back.
class LearnerStats {
public:
    static constexpr int kLevels = 5;
    using Pair = QPair<QString, QString>; // placed, belonged

    struct ListStats {
        std::array<int, kLevels> started{};
        std::array<int, kLevels> solved{};
        std::array<QList<qint64>, kLevels> seconds; // of each solved game
        QHash<Pair, int> confused;
    };

    // The path of statistics.json in a data folder.
    static QString fileIn(const QString &dataFolder);

    LearnerStats() = default;
    // A missing file is an empty record. One that cannot be read keeps problem() set, and the
    // record is then never written over it.
    static LearnerStats read(const QString &file);
    const QString &problem() const { return problem_; }

    void started(const QString &list, int level);
    void solved(const QString &list, int level, qint64 seconds);
    void confused(const QString &list, const QString &placed, const QString &belonged);
    void reset();

    const QHash<QString, ListStats> &lists() const { return lists_; }
    // The pairs of a list most often confused, most first; ties by the words.
    QList<QPair<Pair, int>> mostConfused(const QString &list, int count) const;

    // Changed since it was read or written.
    bool dirty() const { return dirty_; }
    // Writes the whole record through the one safe writer; nothing while problem() is set.
    Status save();

private:
    QString file_;
    QString problem_;
    QHash<QString, ListStats> lists_;
    bool dirty_ = false;
};
