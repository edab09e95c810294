#include "sandbox.h"
#include "wordlists/wordliststore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/resource.h>
#endif

namespace {
QString dataFile(const char *name)
{
    return QStringLiteral(VASKELIO_TEST_DATA "/wordlists/") + QLatin1String(name);
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int lineCount(const QString &path)
{
    return int(bytesOf(path).count(QByteArrayView("\r\0\n\0", 4)));
}

WordList makeList(const QString &title, const QString &stem = QStringLiteral("w"))
{
    WordList list{title, {}};
    for (int k = 0; k < 9; ++k)
        list.words[k] = stem + QString::number(k + 1);
    return list;
}

QList<WordList> everyList(const WordListStore &store)
{
    QList<WordList> lists;
    for (int p = 1; p <= store.Count(); ++p)
        lists.append(store.Get(p));
    return lists;
}

#if defined(Q_OS_UNIX)
// Files this process writes cannot grow past bytes while it lives. Unlike a permission, it
// stops root too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};
#endif
} // namespace

class TestWordListStore : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString file() const { return dir.filePath(QStringLiteral("lists.txt")); }
    QString nativeFile() const { return QDir::toNativeSeparators(file()); }

    // A store loaded from a copy of the reference file.
    void loadCopy(WordListStore &store, const QString &reference)
    {
        QVERIFY(QFile::copy(reference, file()));
        QVERIFY(QFile::setPermissions(file(), QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(store.Load().ok);
    }

private slots:
    void init() { QFile::remove(file()); }

    void builtInListsComeFirst()
    {
        WordListStore store(file());
        loadCopy(store, dataFile("fruit.txt"));
        QCOMPARE(store.Count(), 5);
        QCOMPARE(store.Get(1).title, QStringLiteral("中文数字"));
        QCOMPARE(store.Get(1).words[8], QStringLiteral("九"));
        QCOMPARE(store.Get(2).title, QStringLiteral("字母"));
        QCOMPARE(store.Get(2).words[0] + store.Get(2).words[8], QStringLiteral("AI"));
        QCOMPARE(store.Get(3).title, QStringLiteral("阿拉伯数字"));
        QCOMPARE(store.Get(3).words[4], QStringLiteral("5"));
        QCOMPARE(store.Get(4).title, QStringLiteral("水果"));
    }

    void seedIsCopiedOnlyWhenMissing()
    {
        QTemporaryDir program;
        const QString seed = wordlistfile(program.path());
        QVERIFY(QFile::copy(dataFile("fruit.txt"), seed));
        // Installed seeds may be read-only; the user's copy must still take changes.
        QVERIFY(QFile::setPermissions(seed, QFile::ReadOwner | QFile::ReadOther));
        seedwordlists(file(), seed);
        QCOMPARE(bytesOf(file()), bytesOf(dataFile("fruit.txt")));
        QVERIFY(QFile::permissions(file()) & QFile::WriteOwner);

        QFile::remove(seed);
        QVERIFY(QFile::copy(dataFile("colours.txt"), seed));
        seedwordlists(file(), seed);
        QCOMPARE(bytesOf(file()), bytesOf(dataFile("fruit.txt")));

        QFile::remove(file());
        seedwordlists(file(), program.filePath(QStringLiteral("none/lists.txt")));
        QVERIFY(!QFile::exists(file()));
    }

    void missingFileIsReportedThenCreatedByAdd()
    {
        WordListStore store(file());
        const StoreResult loaded = store.Load();
        QVERIFY(!loaded.ok);
        QCOMPARE(
            loaded.message,
            QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(nativeFile()));
        QCOMPARE(store.Count(), 3);
        QCOMPARE(store.header(), QStringLiteral("memouserlist"));

        const WordList colours{
            QStringLiteral("Colours"),
            {QStringLiteral("red"), QStringLiteral("orange"), QStringLiteral("yellow"),
             QStringLiteral("green"), QStringLiteral("blue"), QStringLiteral("indigo"),
             QStringLiteral("violet"), QStringLiteral("black"), QStringLiteral("white")}};
        const StoreResult added = store.Add(colours);
        QVERIFY(added.ok);
        QCOMPARE(added.position, 4);
        QCOMPARE(bytesOf(file()), bytesOf(dataFile("colours.txt")));
    }

    void reads_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QStringList>("titles");    // of the user lists
        QTest::addColumn<QStringList>("lastWords"); // of the last user list

        const QString memo = QStringLiteral("memouserlist");
        const QStringList fruit{QStringLiteral("水果"), QStringLiteral("Fruit")};
        const QStringList english = QStringLiteral("apple pear plum peach grape lemon cherry "
                                                   "banana melon")
                                        .split(QLatin1Char(' '));
        QTest::newRow("0 bytes") << dataFile("empty.txt") << memo << QStringList() << QStringList();
        QTest::newRow("mark only")
            << dataFile("bom_only.txt") << memo << QStringList() << QStringList();
        QTest::newRow("header only")
            << dataFile("header_only.txt") << QStringLiteral("我的单词表 v2 = not read")
            << QStringList() << QStringList();
        QTest::newRow("UTF-16 LE") << dataFile("fruit.txt") << memo << fruit << english;
        QTest::newRow("UTF-8 with mark, LF, no final break")
            << dataFile("fruit_utf8.txt") << memo << fruit << english;
        QTest::newRow("UTF-16 BE, CR, LF and CR LF")
            << dataFile("fruit_be_mixed.txt") << memo << fruit << english;
        QTest::newRow("first two characters dropped, whatever they are")
            << dataFile("odd_titles.txt") << memo
            << QStringList{QStringLiteral("Animals"), QString()}
            << QStringLiteral("1 2 3 4 5 6 7 8 9").split(QLatin1Char(' '));
        QTest::newRow("blanks kept")
            << dataFile("spaces.txt") << memo << QStringList{QStringLiteral("  Fruit ")}
            << QStringList{
                   QStringLiteral(" apple"), QStringLiteral("pear  "),  QStringLiteral("  plum  "),
                   QStringLiteral("peach"),  QStringLiteral("\tgrape"), QStringLiteral("lemon"),
                   QStringLiteral("cherry"), QStringLiteral("banana"),  QStringLiteral("melon ")};
        QTest::newRow("last word empty")
            << dataFile("last_word_empty.txt") << memo << QStringList{QStringLiteral("Eight")}
            << QStringLiteral("one two three four five six seven eight ").split(QLatin1Char(' '));
        QTest::newRow("ends inside a list")
            << dataFile("short_block.txt") << memo
            << QStringList{QStringLiteral("Colours"), QStringLiteral("Cut")}
            << QStringLiteral("a b c d     ").split(QLatin1Char(' '));
    }
    void reads()
    {
        QFETCH(QString, input);
        QFETCH(QString, header);
        QFETCH(QStringList, titles);
        QFETCH(QStringList, lastWords);
        WordListStore store(file());
        loadCopy(store, input);
        QCOMPARE(store.header(), header);
        QStringList read;
        for (int p = 4; p <= store.Count(); ++p)
            read.append(store.Get(p).title);
        QCOMPARE(read, titles);
        if (!titles.isEmpty()) {
            const auto &words = store.Get(store.Count()).words;
            QCOMPARE(QStringList(words.begin(), words.end()), lastWords);
        }
    }

    // Whatever was read, Save writes UTF-16 LE with its mark and CR LF after every line.
    void savesAsUtf16_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *input, const char *expected) {
            QTest::newRow(name) << dataFile(input) << dataFile(expected);
        };
        row("0 bytes", "empty.txt", "default_header.txt");
        row("mark only", "bom_only.txt", "default_header.txt");
        row("header kept", "header_only.txt", "header_only.txt");
        row("as written", "fruit.txt", "fruit.txt");
        row("from UTF-8", "fruit_utf8.txt", "fruit.txt");
        row("from UTF-16 BE", "fruit_be_mixed.txt", "fruit.txt");
        row("odd title marks", "odd_titles.txt", "odd_titles_saved.txt");
        row("blanks", "spaces.txt", "spaces.txt");
        row("last word empty", "last_word_empty.txt", "last_word_empty.txt");
        row("cut-off list made whole", "short_block.txt", "short_block_saved.txt");
        const QString seed = QStringLiteral(VASKELIO_SOURCE_DIR "/data/lists.txt");
        QTest::newRow("shipped seed") << seed << seed;
    }
    void savesAsUtf16()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        WordListStore store(file());
        loadCopy(store, input);
        QVERIFY(store.Save().ok);
        QCOMPARE(bytesOf(file()), bytesOf(expected));
    }

    void shippedSeedIsUsable()
    {
        WordListStore store(file());
        loadCopy(store, QStringLiteral(VASKELIO_SOURCE_DIR "/data/lists.txt"));
        QVERIFY(store.Count() > 3);
        for (int p = 4; p <= store.Count(); ++p) {
            QCOMPARE(store.Find(store.Get(p).title), std::optional<int>(p)); // titles unique
            for (const QString &word : store.Get(p).words)
                QVERIFY2(!word.trimmed().isEmpty(), qPrintable(store.Get(p).title));
        }
    }

    void addWritesAnEmptyLastWord()
    {
        WordListStore store(file());
        store.Load();
        WordList eight = makeList(QStringLiteral("Eight"));
        eight.words = {QStringLiteral("one"),   QStringLiteral("two"),   QStringLiteral("three"),
                       QStringLiteral("four"),  QStringLiteral("five"),  QStringLiteral("six"),
                       QStringLiteral("seven"), QStringLiteral("eight"), QString()};
        QVERIFY(store.Add(eight).ok);
        QCOMPARE(bytesOf(file()), bytesOf(dataFile("last_word_empty.txt")));
    }

    void findIsExact()
    {
        WordListStore store(file());
        store.Load();
        QVERIFY(store.Add(makeList(QStringLiteral("ABC"))).ok);
        QVERIFY(store.Add(makeList(QStringLiteral(" abc"))).ok);
        QCOMPARE(store.Find(QStringLiteral("abc")), std::nullopt);
        QCOMPARE(store.Find(QStringLiteral("ABC")), std::optional<int>(4));
        QCOMPARE(store.Find(QStringLiteral(" abc")), std::optional<int>(5));
        QCOMPARE(store.Find(QStringLiteral("字母")), std::optional<int>(2));
    }

    void replaceMayDuplicateATitle()
    {
        WordListStore store(file());
        store.Load();
        store.Add(makeList(QStringLiteral("A")));
        store.Add(makeList(QStringLiteral("B")));
        QVERIFY(store.Replace(5, makeList(QStringLiteral("A"), QStringLiteral("x"))).ok);
        QCOMPARE(store.Find(QStringLiteral("A")), std::optional<int>(4));
        WordListStore reread(file());
        reread.Load();
        QCOMPARE(everyList(reread), everyList(store));
        QCOMPARE(reread.Get(5).words[0], QStringLiteral("x1"));
    }

    void removeMovesListsUpAndNeverWritesBuiltIns()
    {
        WordListStore store(file());
        store.Load();
        for (const char *title : {"A", "B", "C"})
            store.Add(makeList(QLatin1String(title)));
        QCOMPARE(lineCount(file()), 31);
        QVERIFY(store.Remove(4).ok);
        QCOMPARE(store.Count(), 5);
        QCOMPARE(store.Get(4).title, QStringLiteral("B"));
        QCOMPARE(store.Get(5).title, QStringLiteral("C"));
        QCOMPARE(lineCount(file()), 21);
        WordListStore reread(file());
        reread.Load();
        QCOMPARE(everyList(reread), everyList(store));

        store.Remove(4);
        store.Remove(4);
        QCOMPARE(store.Count(), 3);
        QCOMPARE(bytesOf(file()), bytesOf(dataFile("default_header.txt")));
    }

    void longTextsAndLineBreaksStayOnOneLine()
    {
        WordListStore store(file());
        store.Load();
        WordList list = makeList(QString(300, QLatin1Char('t')));
        list.words[0] = QString(500, QChar(0x8BCD));
        store.Add(list);
        WordList broken = makeList(QStringLiteral("two\nlines"));
        broken.words[4] = QStringLiteral("a\r\nb\rc");
        store.Add(broken);
        QCOMPARE(lineCount(file()), 21);
        QCOMPARE(store.Get(5).title, QStringLiteral("two lines"));
        QCOMPARE(store.Get(5).words[4], QStringLiteral("a  b c"));
        WordListStore reread(file());
        reread.Load();
        QCOMPARE(reread.Get(4), list);
        QCOMPARE(everyList(reread), everyList(store));
    }

    void failedWriteChangesNothing_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("Add") << 0;
        QTest::newRow("Replace") << 1;
        QTest::newRow("Remove") << 2;
    }
    void failedWriteChangesNothing()
    {
#if !defined(Q_OS_UNIX)
        QSKIP("needs a file-size limit");
#else
        QFETCH(int, operation);
        WordListStore store(file());
        store.Load();
        for (const char *title : {"A", "B", "C"})
            store.Add(makeList(QLatin1String(title)));
        const QByteArray before = bytesOf(file());
        const QList<WordList> lists = everyList(store);
        StoreResult result;
        {
            const FileSizeLimit limit(32);
            if (operation == 0)
                result = store.Add(makeList(QStringLiteral("D")));
            else if (operation == 1)
                result = store.Replace(5, makeList(QStringLiteral("D")));
            else
                result = store.Remove(4);
        }
        QVERIFY(!result.ok);
        QVERIFY2(result.message.startsWith(
                     QStringLiteral("Cannot create file \"%1\". ").arg(nativeFile())),
                 qPrintable(result.message));
        QCOMPARE(everyList(store), lists);
        QCOMPARE(bytesOf(file()), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("lists.txt")});
#endif
    }
};

VASKELIO_TEST_MAIN(TestWordListStore)
#include "tst_wordliststore.moc"
