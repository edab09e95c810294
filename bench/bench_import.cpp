// Times Import Lists on a table whose every title is already in the store: the worst case of
// the title lookups, since every row is checked against every list. Beside it, the floor of
// the same run: reading and splitting the same file into lines.
#include "text/textfile.h"
#include "wordlists/listtable.h"
#include "wordlists/wordliststore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <limits>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 155000;
    const int rounds = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 3;
    if (rows <= 0 || rounds <= 0) {
        out << "usage: bench_import [ROWS] [ROUNDS]\n";
        return 2;
    }

    QTemporaryDir dir;
    WordListStore store(dir.filePath(QStringLiteral("lists.txt")));
    QList<WordSet> lists;
    lists.reserve(rows);
    for (int n = 0; n < rows; ++n) {
        WordSet list{QStringLiteral("List %1").arg(n, 6, 10, QLatin1Char('0')), {}};
        for (int k = 0; k < 9; ++k)
            list.words[k].text = QString(QChar(u'a' + k));
        lists.append(list);
    }
    if (!store.AddMany(lists)) {
        out << "cannot write " << store.file() << "\n";
        return 1;
    }
    const QString table = dir.filePath(QStringLiteral("lists.csv"));
    {
        QFile file(table);
        if (!file.open(QIODevice::WriteOnly) || file.write(exportlists(lists)) < 0) {
            out << "cannot write " << table << "\n";
            return 1;
        }
    }

    // Best of the rounds: the machine is shared, the least disturbed run is the fairest.
    qint64 floor = std::numeric_limits<qint64>::max();
    qint64 import = std::numeric_limits<qint64>::max();
    qint64 parse = 0; // of the import: reading and parsing the table
    qsizetype lines = 0;
    qsizetype refused = 0;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const TextFileResult plain = readtextfile(table);
        lines = plain ? textlines(plain->text).size() : 0;
        floor = std::min(floor, timer.nsecsElapsed());

        timer.restart();
        const TextFileResult read = readtextfile(table);
        const QList<TableRow> tableRows = tablerows(read ? read->text : QString());
        const qint64 parsed = timer.nsecsElapsed();
        const ImportCheck check = checkimport(tableRows, store);
        refused = check.refused.size();
        if (timer.nsecsElapsed() < import) {
            import = timer.nsecsElapsed();
            parse = parsed;
        }
        if (!check.lists.isEmpty()) {
            out << "a row was accepted: every title should be in use\n";
            return 1;
        }
    }

    const QString size = QString::number(QFileInfo(table).size() / 1024.0 / 1024.0, 'f', 1);
    out << "table:  " << rows << " rows whose titles are in a store of " << store.Count()
        << " lists, " << size << " MiB\n";
    out << "floor:  " << QString::number(floor / 1e9, 'f', 3) << " s reading and splitting "
        << lines << " lines\n";
    out << "import: " << QString::number(import / 1e9, 'f', 3) << " s, " << refused
        << " rows refused, " << QString::number(double(import) / double(floor), 'f', 1)
        << " x the floor; reading and parsing the table " << QString::number(parse / 1e9, 'f', 3)
        << " s of it\n";
    return refused == rows ? 0 : 1;
}
