// The service's store, on SQLite or (VASKELIO_TEST_STORE=postgresql) on PostgreSQL.
#include "pgcluster.h"
#include "sandbox.h"
#include "sharedb.h"
#include "shareschema.h"

#include <sqlite3.h>

#include <atomic>
#include <functional>
#include <thread>

namespace {
SharedRecord record(const QString &title, const QString &publisher = QStringLiteral("Ann"))
{
    SharedRecord made;
    made.list.title = title;
    for (int k = 0; k < 9; ++k)
        made.list.words[k].text = title + QString::number(k + 1);
    made.publisher = publisher;
    return made;
}

// A record's eleven texts, to compare whole.
QStringList texts(const SharedRecord &r)
{
    return QStringList{r.list.title} + r.list.texts() + QStringList{r.publisher};
}

// Its words' readings and meanings, "reading/meaning" each.
QStringList glosses(const SharedRecord &r)
{
    QStringList all;
    for (const Word &word : r.list.words)
        all.append(word.reading + u'/' + word.meaning);
    return all;
}

QStringList titles(const QList<SharedRecord> &records)
{
    QStringList shown;
    for (const SharedRecord &r : records)
        shown.append(r.list.title);
    return shown;
}

char outcomeletter(SubmitEntry::Outcome outcome)
{
    switch (outcome) {
    case SubmitEntry::Outcome::Stored:
        return 'S';
    case SubmitEntry::Outcome::Duplicate:
        return 'D';
    case SubmitEntry::Outcome::Limited:
        return 'L';
    case SubmitEntry::Outcome::Failed:
        break;
    }
    return 'F';
}

// QVERIFY2 builds its message even when the check passes.
template<typename T> const char *why(const DbResult<T> &result)
{
    return result ? "" : result.error().c_str();
}
} // namespace

class TestShareDb : public QObject {
    Q_OBJECT

    TestStores stores;

    std::unique_ptr<ShareDb> open(const QString &where)
    {
        DbResult<std::unique_ptr<ShareDb>> opened = ShareDb::open(where.toStdString(), true);
        if (!opened) {
            qWarning("%s", opened.error().c_str());
            return nullptr;
        }
        return std::move(*opened);
    }
    // SQL straight on the store, past the service's own code.
    bool exec(const QString &where, const QString &sql)
    {
        if (PgCluster *cluster = stores.cluster())
            return cluster->psql(where, sql);
        sqlite3 *db = nullptr;
        const bool ok =
            sqlite3_open(QFile::encodeName(where).constData(), &db) == SQLITE_OK &&
            sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
        return ok;
    }

private slots:
    void initTestCase() { VASKELIO_START_STORES(stores); }

    // A store of the first layout (no version, no addresses) keeps its lists and takes
    // submissions once opened; one of a newer layout is refused.
    void olderLayoutsAreBroughtUpToDate()
    {
        const QString where = stores.newstore();
        const QString v1 = QString::fromUtf8(TestStores::postgresql() ? kSchemaSteps[0].postgresql
                                                                      : kSchemaSteps[0].sqlite);
        QVERIFY(exec(where, v1));
        QVERIFY(exec(where, QStringLiteral(
                                "INSERT INTO lists (title, w1, w2, w3, w4, w5, w6, w7, w8, w9,"
                                " publisher, status) VALUES ('Old', 'a', 'b', 'c', 'd', 'e', 'f',"
                                " 'g', 'h', 'i', 'Bo', 'approved'), ('Waiting', 'a', 'b', 'c', 'd',"
                                " 'e', 'f', 'g', 'h', 'i', 'Cy', 'pending')")));
        for (int round = 0; round < 2; ++round) {
            std::unique_ptr<ShareDb> db = open(where);
            QVERIFY(db);
            const auto lists = db->published(10);
            QVERIFY2(lists, why(lists));
            QCOMPARE(titles(lists->records), QStringList{"Old"});
            QCOMPARE(lists->records.at(0).publisher, QStringLiteral("Bo"));
            const auto waiting = db->pending();
            QVERIFY(waiting);
            QCOMPARE(waiting->size(), 1 + round);
            std::vector<SubmitEntry> entries(1);
            entries[0].record = record(QStringLiteral("New"));
            entries[0].address = "192.0.2.1";
            const DbStatus stored = db->submit(entries, ShareDb::Status::Pending, 1);
            QVERIFY2(stored, why(stored));
            QCOMPARE(outcomeletter(entries[0].outcome), round == 0 ? 'S' : 'D');
        }
        QVERIFY(exec(where, QStringLiteral("UPDATE schema_version SET version = 99")));
        const auto refused = ShareDb::open(where.toStdString(), true);
        QVERIFY(!refused);
        QCOMPARE(refused.error(), std::string("the database is of a newer version (99)"));
    }

    // A store of the layout before readings and meanings keeps every list, as lists without
    // them, and then stores and returns them; the same words with another meaning are another
    // submission.
    void readingsAndMeaningsAreAddedToAStore()
    {
        const QString where = stores.newstore();
        for (int step = 0; step < 2; ++step)
            QVERIFY(exec(where,
                         QString::fromUtf8(TestStores::postgresql() ? kSchemaSteps[step].postgresql
                                                                    : kSchemaSteps[step].sqlite)));
        QVERIFY(exec(where, QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version"
                                           " (version INTEGER NOT NULL);"
                                           "INSERT INTO schema_version VALUES (2)")));
        QVERIFY(exec(
            where, QStringLiteral("INSERT INTO lists (title, w1, w2, w3, w4, w5, w6, w7, w8, w9,"
                                  " publisher, status, address) VALUES ('Old', 'a', 'b', 'c', 'd',"
                                  " 'e', 'f', 'g', 'h', 'i', 'Bo', 'approved', '192.0.2.7'),"
                                  " ('Waiting', 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'Cy',"
                                  " 'pending', '192.0.2.7')")));
        std::unique_ptr<ShareDb> db = open(where);
        QVERIFY(db);
        const auto old = db->published(10);
        QVERIFY2(old, why(old));
        QCOMPARE(texts(old->records.at(0)),
                 QStringList({"Old", "a", "b", "c", "d", "e", "f", "g", "h", "i", "Bo"}));
        QCOMPARE(glosses(old->records.at(0)), QStringList(9, QStringLiteral("/")));
        QCOMPARE(db->pending()->at(0).record.list.title, QStringLiteral("Waiting"));

        SharedRecord glossed = record(QStringLiteral("Fruit"));
        glossed.list.words[0] = Word(QStringLiteral("苹果"), QStringLiteral("píngguǒ"),
                                     QStringLiteral("apple \"red\" 'n' \\"));
        glossed.list.words[8].meaning = QString::fromUcs4(U"\U0001F34E");
        std::vector<SubmitEntry> entries(3);
        for (SubmitEntry &entry : entries) {
            entry.record = glossed;
            entry.address = "192.0.2.7";
        }
        entries[2].record.list.words[8].meaning = QStringLiteral("pear");
        const DbStatus stored = db->submit(entries, ShareDb::Status::Pending, 0);
        QVERIFY2(stored, why(stored));
        QByteArray outcomes;
        for (const SubmitEntry &entry : entries)
            outcomes += outcomeletter(entry.outcome);
        QCOMPARE(outcomes, QByteArray("SDS"));
        const auto waiting = db->pending();
        QCOMPARE(waiting->size(), 3);
        QCOMPARE(glosses(waiting->at(1).record), glosses(glossed));
        QCOMPARE(*db->setstatus(entries[0].id, ShareDb::Status::Approved), ShareDb::Change::Done);
        const auto lists = db->published(10);
        QCOMPARE(texts(lists->records.at(0)), texts(glossed));
        QCOMPARE(glosses(lists->records.at(0)), glosses(glossed));
    }

    void submissionOutcomes_data()
    {
        // Batches separated by "|", each submission ADDRESS:TITLE; the outcome letters in
        // order: S stored, D a duplicate of a pending list, L over the limit.
        QTest::addColumn<int>("perHour");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("outcomes");
        QTest::newRow("the fourth of three") << 3 << "a:1 | a:2 | a:3 | a:4 | b:5"
                                             << "SSSLS";
        QTest::newRow("in one batch") << 3 << "a:1 a:2 a:3 a:4 b:5 b:6"
                                      << "SSSLSS";
        QTest::newRow("a repeat is no submission") << 2 << "a:1 | a:1 | a:2 | a:1 | a:3"
                                                   << "SDSDL";
        QTest::newRow("a repeat in one batch") << 2 << "a:1 a:1 a:2"
                                               << "SDS";
        QTest::newRow("the same list from another address") << 1 << "a:1 | b:1 | b:1"
                                                            << "SSD";
        QTest::newRow("no limit") << 0 << "a:1 a:2 a:3 a:4 a:5 | a:6 a:7 a:8 a:9 a:10 a:1"
                                  << "SSSSSSSSSSD";
    }
    // The limit counts what an address stored within the hour; a list that address has
    // pending already is acknowledged again, without a second row.
    void submissionOutcomes()
    {
        QFETCH(int, perHour);
        QFETCH(QString, script);
        QFETCH(QString, outcomes);
        std::unique_ptr<ShareDb> db = open(stores.newstore());
        QVERIFY(db);
        QString seen;
        std::int64_t firstid = 0;
        for (const QString &batch : script.split(u'|')) {
            std::vector<SubmitEntry> entries;
            for (const QString &item : batch.split(u' ', Qt::SkipEmptyParts)) {
                SubmitEntry entry;
                entry.address = item.section(u':', 0, 0) == u"a" ? "198.51.100.7" : "2001:db8::9";
                entry.record = record(QStringLiteral("list ") + item.section(u':', 1));
                entries.push_back(entry);
            }
            const DbStatus stored = db->submit(entries, ShareDb::Status::Pending, perHour);
            QVERIFY2(stored, why(stored));
            for (const SubmitEntry &entry : entries) {
                seen += QLatin1Char(outcomeletter(entry.outcome));
                if (firstid == 0)
                    firstid = entry.id;
                // A repeat of the very first list names the row it repeats.
                if (entry.outcome == SubmitEntry::Outcome::Duplicate &&
                    entry.record.list.title == QStringLiteral("list 1") &&
                    entry.address == "198.51.100.7")
                    QCOMPARE(entry.id, firstid);
            }
        }
        QCOMPARE(seen, outcomes);
        QCOMPARE(db->pending()->size(), int(outcomes.count(u'S')));
    }

    // A list approved meanwhile is no longer pending: the same list again is a new submission.
    void approvedListsAreNoDuplicates()
    {
        std::unique_ptr<ShareDb> db = open(stores.newstore());
        QVERIFY(db);
        std::vector<SubmitEntry> entries(1);
        entries[0].record = record(QStringLiteral("Fruit"));
        entries[0].address = "192.0.2.1";
        QVERIFY(db->submit(entries, ShareDb::Status::Pending, 20));
        QCOMPARE(*db->setstatus(entries[0].id, ShareDb::Status::Approved), ShareDb::Change::Done);
        QVERIFY(db->submit(entries, ShareDb::Status::Pending, 20));
        QCOMPARE(outcomeletter(entries[0].outcome), 'S');
        QCOMPARE(db->pending()->size(), 1);
    }

    // The page's lists are the newest up to the cap; their version moves with every change of
    // what is published, and only then.
    void publishedListsAndTheirVersion()
    {
        std::unique_ptr<ShareDb> db = open(stores.newstore());
        QVERIFY(db);
        const auto version = [&]() -> std::int64_t {
            const auto read = db->pageversion();
            return read ? *read : -1;
        };
        // The outcome of a change of status, -1 for a failed one.
        const auto change = [&](std::int64_t id, ShareDb::Status status) {
            const auto changed = db->setstatus(id, status);
            return changed ? int(*changed) : -1;
        };
        std::int64_t last = version();
        QVERIFY(last >= 0);
        QList<std::int64_t> ids;
        for (const char *title : {"A", "B", "C", "D", "E"}) {
            const auto added =
                db->add(record(QString::fromLatin1(title)), ShareDb::Status::Pending);
            QVERIFY2(added, why(added));
            QVERIFY(*added > 0);
            ids.append(*added);
        }
        QCOMPARE(version(), last);
        for (const std::int64_t id : ids)
            QCOMPARE(change(id, ShareDb::Status::Approved), int(ShareDb::Change::Done));
        QVERIFY(version() > last);
        last = version();

        auto lists = db->published(3);
        QVERIFY(lists);
        QCOMPARE(titles(lists->records), QStringList({"E", "D", "C"}));
        QCOMPARE(lists->total, std::int64_t(5));
        QCOMPARE(texts(lists->records.at(0)), texts(record(QStringLiteral("E"))));

        QCOMPARE(change(ids.at(4), ShareDb::Status::Rejected), int(ShareDb::Change::Done));
        QVERIFY(version() > last);
        last = version();
        lists = db->published(3);
        QCOMPARE(titles(lists->records), QStringList({"D", "C", "B"}));
        QCOMPARE(lists->total, std::int64_t(4));
        QCOMPARE(change(ids.last() + 100, ShareDb::Status::Approved),
                 int(ShareDb::Change::Unknown));
        QCOMPARE(version(), last);
        QVERIFY(db->add(record(QStringLiteral("F")), ShareDb::Status::Approved));
        QVERIFY(version() > last);
        QCOMPARE(db->published(1)->records.at(0).list.title, QStringLiteral("F"));
    }

    void aFailedBatchStoresNothing_data()
    {
        QTest::addColumn<bool>("atCommit");
        QTest::newRow("at a statement") << false;
        QTest::newRow("at the commit") << true;
    }
    // A batch that fails part way, or only when it commits, stores nothing, and the store's own
    // message comes back as it gave it; the next batch is stored as if nothing had happened.
    void aFailedBatchStoresNothing()
    {
        QFETCH(bool, atCommit);
        const bool postgresql = TestStores::postgresql();
        if (atCommit && !postgresql)
            QSKIP("SQLite checks nothing at the commit that a batch could fail");
        const QString where = stores.newstore();
        std::unique_ptr<ShareDb> db = open(where);
        QVERIFY(db);
        const auto before = db->pageversion();
        QVERIFY(before);
        // A check deferred to the commit fails there, after every statement went well.
        const QString trigger = atCommit ? QStringLiteral("CREATE CONSTRAINT TRIGGER refuse AFTER"
                                                          " INSERT ON lists DEFERRABLE INITIALLY"
                                                          " DEFERRED")
                                         : QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON"
                                                          " lists");
        QVERIFY(exec(where, postgresql
                                ? QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger AS $$"
                                                 " BEGIN IF NEW.title = 'Bad' THEN RAISE EXCEPTION"
                                                 " 'refused'; END IF; RETURN NEW; END $$ LANGUAGE"
                                                 " plpgsql;") +
                                      trigger +
                                      QStringLiteral(" FOR EACH ROW EXECUTE FUNCTION refuse()")
                                : QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON lists"
                                                 " WHEN NEW.title = 'Bad' BEGIN"
                                                 " SELECT RAISE(ABORT, 'refused'); END")));
        for (const ShareDb::Status status : {ShareDb::Status::Approved, ShareDb::Status::Pending}) {
            std::vector<SubmitEntry> entries(2);
            entries[0].record = record(QStringLiteral("Good"));
            entries[1].record = record(QStringLiteral("Bad"));
            const DbStatus stored = db->submit(entries, status, 0);
            QVERIFY(!stored);
            // PostgreSQL adds where the exception came from, on lines of its own.
            QCOMPARE(QString::fromStdString(stored.error()).section(u'\n', 0, 0),
                     postgresql ? QStringLiteral("ERROR:  refused") : QStringLiteral("refused"));
        }
        QCOMPARE(db->published(10)->total, std::int64_t(0));
        QCOMPARE(*db->pageversion(), *before);
        QVERIFY(db->pending()->isEmpty());
        const auto added = db->add(record(QStringLiteral("Good")), ShareDb::Status::Pending);
        QVERIFY2(added, why(added));
        QCOMPARE(db->pending()->size(), 1);
    }

    // Writers in parallel, on two stores open on one database as two instances of the service
    // would be: the same list sent from one address many times at once is stored once, and the
    // limit of an address holds across them.
    void parallelWritersKeepTheirChecks()
    {
        const QString where = stores.newstore();
        const std::unique_ptr<ShareDb> dbs[] = {open(where), open(where)};
        QVERIFY(dbs[0] && dbs[1]);
        constexpr int kWriters = 8;
        // Every writer submits its batch at once; the outcomes in writer order.
        const auto race = [&](const std::function<std::vector<SubmitEntry>(int)> &batch,
                              int perHour) {
            std::vector<std::vector<SubmitEntry>> entries;
            for (int k = 0; k < kWriters; ++k)
                entries.push_back(batch(k));
            std::vector<std::string> errors(kWriters);
            std::atomic<int> waiting{kWriters};
            std::vector<std::thread> writers;
            for (int k = 0; k < kWriters; ++k)
                writers.emplace_back([&, k] {
                    for (--waiting; waiting > 0;)
                        std::this_thread::yield();
                    const DbStatus stored = dbs[k % 2]->submit(entries[std::size_t(k)],
                                                               ShareDb::Status::Pending, perHour);
                    if (!stored)
                        errors[std::size_t(k)] = stored.error();
                });
            for (std::thread &writer : writers)
                writer.join();
            QString outcomes;
            for (int k = 0; k < kWriters; ++k) {
                if (!errors[std::size_t(k)].empty())
                    qWarning("%s", errors[std::size_t(k)].c_str());
                for (const SubmitEntry &entry : entries[std::size_t(k)])
                    outcomes += QLatin1Char(
                        errors[std::size_t(k)].empty() ? outcomeletter(entry.outcome) : '!');
            }
            return std::make_pair(outcomes, entries);
        };
        for (int round = 0; round < 10; ++round) {
            const auto [outcomes, entries] = race(
                [round](int) {
                    std::vector<SubmitEntry> one(1);
                    one[0].address = "198.51.100.7";
                    one[0].record = record(QStringLiteral("same %1").arg(round));
                    return one;
                },
                0);
            QCOMPARE(outcomes.count(u'S'), 1);
            QCOMPARE(outcomes.count(u'D'), kWriters - 1);
            const std::int64_t id = entries[std::size_t(outcomes.indexOf(u'S'))][0].id;
            for (const std::vector<SubmitEntry> &batch : entries)
                QCOMPARE(batch[0].id, id);
        }
        QCOMPARE(dbs[0]->pending()->size(), 10);
        const auto [limited, entries] = race(
            [](int k) {
                std::vector<SubmitEntry> two(2);
                for (int n = 0; n < 2; ++n) {
                    two[std::size_t(n)].address = "2001:db8::9";
                    two[std::size_t(n)].record = record(QStringLiteral("mine %1-%2").arg(k).arg(n));
                }
                return two;
            },
            5);
        QCOMPARE(limited.count(u'S'), 5);
        QCOMPARE(limited.count(u'L'), 2 * kWriters - 5);
        QCOMPARE(dbs[1]->pending()->size(), 15);
    }

    // Texts come back as they went in: a leading U+FEFF, quotes, SQL, four-byte characters.
    void textsAreStoredExactly()
    {
        std::unique_ptr<ShareDb> db = open(stores.newstore());
        QVERIFY(db);
        SharedRecord odd = record(QString(QChar(0xFEFF)) + QStringLiteral("Title"));
        odd.list.words[0].text = QStringLiteral("'); DROP TABLE lists; --");
        odd.list.words[1].text = QString::fromUcs4(U"\U0001F600\u5B57");
        odd.list.words[2].text = QString(QChar(0xFEFF));
        odd.publisher = QStringLiteral("O'Brien \"Bob\"");
        QVERIFY(db->add(odd, ShareDb::Status::Approved));
        QVERIFY(db->add(odd, ShareDb::Status::Pending));
        QCOMPARE(texts(db->published(10)->records.at(0)), texts(odd));
        const auto waiting = db->pending();
        QCOMPARE(texts(waiting->at(0).record), texts(odd));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                    .match(waiting->at(0).submitted)
                    .hasMatch());
    }
};

VASKELIO_TEST_MAIN(TestShareDb)
#include "tst_sharedb.moc"
