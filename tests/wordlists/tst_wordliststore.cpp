#include "sandbox.h"
#include "text/textfile.h"
#include "wordlists/wordliststore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

using Position = std::optional<int>;

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

QStringList words(const WordSet &list)
{
    return list.texts();
}

WordSet makeList(const QString &title, const QString &stem = QStringLiteral("w"))
{
    WordSet list{title, {}};
    for (int k = 0; k < 9; ++k)
        list.words[k].text = stem + QString::number(k + 1);
    return list;
}

QString textData(const char *name)
{
    return QStringLiteral(VASKELIO_TEST_DATA "/textfile/") + QLatin1String(name);
}

// Files that do not read cleanly, each with the fault it stands for.
QList<std::pair<const char *, QByteArray>> damagedFiles()
{
    QByteArray noise;
    quint32 state = 2024;
    for (int n = 0; n < 1000; ++n) {
        state = state * 1103515245u + 12345u;
        noise.append(char(state >> 24));
    }
    QByteArray replaced = bytesOf(dataFile("fruit_utf8.txt"));
    replaced.insert(5, '\xFF');
    QByteArray surrogate = bytesOf(dataFile("fruit.txt"));
    surrogate.insert(4, QByteArray("\x3D\xD8", 2));
    return {{"random bytes", noise},
            {"UTF-16 without a mark", bytesOf(textData("utf16le_nomark.txt"))},
            {"Shift-JIS", bytesOf(textData("shiftjis.txt"))},
            {"Windows-1251", bytesOf(textData("windows1251.txt"))},
            {"a byte that became U+FFFD", replaced},
            {"a lone surrogate", surrogate}};
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    QCOMPARE(out.write(bytes), bytes.size());
}

QList<WordSet> everyList(const WordListStore &store)
{
    QList<WordSet> lists;
    for (int p = 1; p <= store.Count(); ++p)
        lists.append(store.Get(p));
    return lists;
}
} // namespace

class TestWordListStore : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString file() const { return dir.filePath(QStringLiteral("lists.txt")); }
    QString backup() const { return dir.filePath(QStringLiteral("lists.txt.bak")); }

    void loadCopy(WordListStore &store, const QString &reference)
    {
        QVERIFY(QFile::copy(reference, file()));
        QVERIFY(QFile::setPermissions(file(), QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(store.Load().ok());
    }

    // A store on a new file holding the user lists A, B and C.
    void makeABC(WordListStore &store)
    {
        static_cast<void>(store.Load());
        for (const char *title : {"A", "B", "C"})
            QVERIFY(store.Add(makeList(QLatin1String(title))).ok());
    }

private slots:
    void init()
    {
        QFile::remove(file());
        QDir(backup()).removeRecursively();
        QFile::remove(backup());
    }

    void seedIsCopiedOnlyWhenMissing()
    {
        QTemporaryDir program;
        const QString seed = wordlistfile(program.path());
        QVERIFY(QFile::copy(dataFile("fruit.txt"), seed));
        // An installed seed may be read-only; the user's copy must still take changes.
        QVERIFY(QFile::setPermissions(seed, QFile::ReadOwner | QFile::ReadOther));
        seedwordlists(file(), seed);
        QCOMPARE(bytesOf(file()), bytesOf(seed));
        QVERIFY(QFile::permissions(file()) & QFile::WriteOwner);

        seedwordlists(file(), dataFile("colours.txt"));
        QCOMPARE(bytesOf(file()), bytesOf(seed));

        QFile::remove(file());
        seedwordlists(file(), program.filePath(QStringLiteral("none/lists.txt")));
        QVERIFY(!QFile::exists(file()));
    }

    // A rewrite killed between linking the new copy and renaming it leaves "lists.txt.XXXXXX".
    void seedingClearsOldLeftovers()
    {
        const QDateTime old = QDateTime::currentDateTime().addSecs(-60);
        for (const char *name : {"lists.txt.cRpFhA", "lists.txt.Backup", "lists.txt.jOaEFW"}) {
            QFile left(dir.filePath(QLatin1String(name)));
            QVERIFY(left.open(QIODevice::WriteOnly));
            QVERIFY(left.setFileTime(name[10] == 'j' ? QDateTime::currentDateTime() : old,
                                     QFileDevice::FileModificationTime));
        }
        seedwordlists(file(), dataFile("default_header.txt"));
        QStringList left = QDir(dir.path()).entryList({QStringLiteral("lists.txt.*")});
        left.sort();
        QCOMPARE(left, (QStringList{"lists.txt.Backup", "lists.txt.jOaEFW"}));
        for (const QString &name : left)
            QFile::remove(dir.filePath(name));
    }

    void missingFileIsReportedThenCreatedByAdd()
    {
        WordListStore store(file());
        const StoreResult loaded = store.Load();
        QVERIFY(!loaded.ok());
        QCOMPARE(loaded.error().message,
                 QStringLiteral("Cannot open file \"%1\". No such file or directory")
                     .arg(QDir::toNativeSeparators(file())));
        QCOMPARE(store.Count(), 3);
        QCOMPARE(store.Get(1).title + store.Get(2).title + store.Get(3).title,
                 QStringLiteral("中文数字字母阿拉伯数字"));
        QCOMPARE(words(store.Get(1)).join(QString()), QStringLiteral("一二三四五六七八九"));
        QCOMPARE(words(store.Get(2)).join(QString()), QStringLiteral("ABCDEFGHI"));
        QCOMPARE(words(store.Get(3)).join(QString()), QStringLiteral("123456789"));

        const WordSet colours = WordSet::fromTexts(
            QStringLiteral("Colours"),
            QStringLiteral("red orange yellow green blue indigo violet black white").split(u' '));
        const StoreResult added = store.Add(colours);
        QVERIFY(added.ok());
        QCOMPARE(added->position, 4);
        QCOMPARE(bytesOf(file()), bytesOf(dataFile("colours.txt")));
    }

    // Whatever was read, Save writes UTF-16 LE with its mark and CR LF after every line; the
    // expected files show what was read (see the README beside them).
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
        row("last word empty: ends CR LF CR LF", "last_word_empty.txt", "last_word_empty.txt");
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
        QVERIFY(store.Save().ok());
        QCOMPARE(bytesOf(file()), bytesOf(expected));
    }

    void findIsExactAndReplaceMayDuplicate()
    {
        WordListStore store(file());
        makeABC(store);
        QVERIFY(store.Replace(5, makeList(QStringLiteral(" a"))).ok());
        QCOMPARE(store.Find(QStringLiteral("a")), Position());
        QCOMPARE(store.Find(QStringLiteral(" a")), Position(5));
        QCOMPARE(store.Find(QStringLiteral("字母")), Position(2));
        QVERIFY(store.Replace(6, makeList(QStringLiteral("A"), QStringLiteral("x"))).ok());
        QCOMPARE(store.Find(QStringLiteral("A")), Position(4));
        WordListStore reread(file());
        static_cast<void>(reread.Load());
        QCOMPARE(everyList(reread), everyList(store));
        QCOMPARE(reread.Get(6).words[0].text, QStringLiteral("x1"));
    }

    void removeMovesListsUpAndNeverWritesBuiltIns()
    {
        WordListStore store(file());
        makeABC(store);
        QCOMPARE(lineCount(file()), 31);
        QVERIFY(store.Remove(4).ok());
        QCOMPARE(store.Get(4).title + store.Get(5).title, QStringLiteral("BC"));
        QCOMPARE(lineCount(file()), 21);
        WordListStore reread(file());
        static_cast<void>(reread.Load());
        QCOMPARE(everyList(reread), everyList(store));
        QVERIFY(store.Remove(5));
        QVERIFY(store.Remove(4));
        QCOMPARE(store.Count(), 3);
        QCOMPARE(bytesOf(file()), bytesOf(dataFile("default_header.txt")));
    }

    void longTextsAndLineBreaksStayOnOneLine()
    {
        WordListStore store(file());
        static_cast<void>(store.Load());
        WordSet list = makeList(QString(300, u't'));
        list.words[0].text = QString(500, QChar(0x8BCD));
        QVERIFY(store.Add(list));
        WordSet broken = makeList(QStringLiteral("two\nlines"));
        broken.words[4].text = QStringLiteral("a\r\nb\rc");
        QVERIFY(store.Add(broken));
        QCOMPARE(lineCount(file()), 21);
        QCOMPARE(store.Get(5).title, QStringLiteral("two lines"));
        QCOMPARE(store.Get(5).words[4].text, QStringLiteral("a  b c"));
        WordListStore reread(file());
        static_cast<void>(reread.Load());
        QCOMPARE(reread.Get(4), list);
        QCOMPARE(everyList(reread), everyList(store));
    }

    // A title whose first character lies outside the BMP once left half a surrogate pair, which
    // the next save wrote back; from then on the whole file read as one line.
    void titleOutsideTheBmpKeepsEveryList()
    {
        const QString emoji = QString::fromUtf16(u"\U0001F600");
        QString text = QStringLiteral("memouserlist\r\n<") + emoji + QStringLiteral("Animals\r\n");
        for (int k = 1; k <= 9; ++k)
            text += QStringLiteral("a%1\r\n").arg(k);
        text += QStringLiteral("<<B\r\n");
        for (int k = 1; k <= 9; ++k)
            text += QStringLiteral("b%1\r\n").arg(k);
        QFile out(file());
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(QByteArray("\xFF\xFE", 2) +
                  QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2));
        out.close();

        WordListStore store(file());
        QVERIFY(store.Load().ok());
        QCOMPARE(store.Count(), 5);
        QCOMPARE(store.Get(4).title, QStringLiteral("Animals"));
        QVERIFY(store.Add(makeList(QStringLiteral("C"))).ok());
        WordListStore reread(file());
        static_cast<void>(reread.Load());
        QCOMPARE(reread.Count(), 6);
        QCOMPARE(everyList(reread), everyList(store));
        QCOMPARE(reread.Get(5).words[8].text, QStringLiteral("b9"));
    }

    void failedWriteChangesNothing_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("Add") << 0;
        QTest::newRow("Replace") << 1;
        QTest::newRow("Remove") << 2;
        QTest::newRow("AddMany") << 3;
    }
    void failedWriteChangesNothing()
    {
#if !defined(Q_OS_UNIX)
        QSKIP("needs a file-size limit");
#else
        QFETCH(int, operation);
        WordListStore store(file());
        makeABC(store);
        const QByteArray before = bytesOf(file());
        const QList<WordSet> lists = everyList(store);
        // Files cannot grow past 32 bytes while the limit holds; unlike a permission it stops
        // root too, and it fails the write half-way, as a full disk does.
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit limit = old;
        limit.rlim_cur = 32;
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        const StoreResult result =
            operation == 0   ? store.Add(makeList(QStringLiteral("D")))
            : operation == 1 ? store.Replace(5, makeList(QStringLiteral("D")))
            : operation == 2
                ? store.Remove(4)
                : store.AddMany({makeList(QStringLiteral("D")), makeList(QStringLiteral("E"))});
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, handler);

        QVERIFY(!result.ok());
        QVERIFY2(result.error().message.startsWith(QStringLiteral("Cannot create file \"%1\". ")
                                                       .arg(QDir::toNativeSeparators(file()))),
                 qPrintable(result.error().message));
        QCOMPARE(everyList(store), lists);
        QCOMPARE(bytesOf(file()), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("lists.txt")});
#endif
    }
    // Readings and meanings are not in lists.txt, so the store's lists do not keep them either:
    // a list reads the same before and after the next start.
    void readingsAndMeaningsAreNotKept()
    {
        QFile::remove(file());
        WordListStore store(file());
        (void)store.Load();
        WordSet list = makeList(QStringLiteral("Fruit"));
        list.words[0] =
            Word(QStringLiteral("苹果"), QStringLiteral("píngguǒ"), QStringLiteral("apple"));
        QVERIFY(store.AddMany({list}).ok());
        WordSet plain = list;
        plain.words[0] = Word(QStringLiteral("苹果"));
        QCOMPARE(store.Get(4), plain);
        WordListStore reread(file());
        QVERIFY(reread.Load().ok());
        QCOMPARE(reread.Get(4), plain);
        // They are in the glossary beside it.
        QCOMPARE(reread.glossary().find(QStringLiteral("苹果"), 0),
                 (Gloss{QStringLiteral("píngguǒ"), QStringLiteral("apple")}));
        QVERIFY(QFile::remove(Glossary::fileIn(dir.path())));
    }

    // A limit that one more list fits under but two do not: lists added one by one would leave
    // the first of them in the file.
    void addManyIsAllOrNothing()
    {
#if !defined(Q_OS_UNIX)
        QSKIP("needs a file-size limit");
#else
        WordListStore store(file());
        makeABC(store);
        const QByteArray before = bytesOf(file());
        const QList<WordSet> lists = everyList(store);
        WordListStore oneMore(dir.filePath(QStringLiteral("one.txt")));
        makeABC(oneMore);
        QVERIFY(oneMore.Add(makeList(QStringLiteral("D"))).ok());
        const qint64 fits = QFileInfo(oneMore.file()).size();
        QVERIFY(QFile::remove(oneMore.file()));

        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit limit = old;
        limit.rlim_cur = rlim_t(fits);
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        const StoreResult result =
            store.AddMany({makeList(QStringLiteral("D")), makeList(QStringLiteral("E"))});
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, handler);

        QVERIFY(!result.ok());
        QCOMPARE(everyList(store), lists);
        QCOMPARE(bytesOf(file()), before);
#endif
    }
    // All in one rewrite, kept as given except that a line break becomes a space, as with Add.
    void addManyAppendsInOrder()
    {
        WordListStore store(file());
        makeABC(store);
        const StoreResult result =
            store.AddMany({makeList(QStringLiteral("D"), QStringLiteral("d")),
                           makeList(QStringLiteral(" E\r\nF "), QStringLiteral("e"))});
        QVERIFY(result.ok());
        QCOMPARE(result->position, 8);
        WordListStore reread(file());
        QVERIFY(reread.Load().ok());
        QCOMPARE(everyList(reread), everyList(store));
        QCOMPARE(reread.Count(), 8);
        QCOMPARE(reread.Get(7), makeList(QStringLiteral("D"), QStringLiteral("d")));
        QCOMPARE(reread.Get(8).title, QStringLiteral(" E  F "));
        QCOMPARE(lineCount(file()), 51);
    }
    void firstRewriteOfADamagedFileKeepsItOnce_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<int>("operation");
        const char *operations[] = {"Add", "Replace", "Remove", "Save"};
        int operation = 0;
        for (const auto &[name, bytes] : damagedFiles()) {
            QTest::addRow("%s, %s", name, operations[operation]) << bytes << operation;
            operation = (operation + 1) % 4;
        }
    }
    void firstRewriteOfADamagedFileKeepsItOnce()
    {
        QFETCH(QByteArray, original);
        QFETCH(int, operation);
        writeBytes(file(), original);
        WordListStore store(file());
        QVERIFY(store.Load().ok());
        if (operation == 1 || operation == 2)
            QVERIFY2(store.Count() > WordListStore::kBuiltIn, "needs a user list to change");
        const StoreResult first = operation == 0   ? store.Add(makeList(QStringLiteral("New")))
                                  : operation == 1 ? store.Replace(4, makeList(QStringLiteral("E")))
                                  : operation == 2 ? store.Remove(4)
                                                   : store.Save();
        QVERIFY2(first.ok(), qPrintable(first.ok() ? QString() : first.error().message));
        QCOMPARE(keptcopy(first), QDir::toNativeSeparators(backup()));
        QCOMPARE(bytesOf(backup()), original);
        QVERIFY(bytesOf(file()).startsWith("\xFF\xFE"));
        QVERIFY(readtextfile(file())->clean);

        // A second change finds the copy made.
        const StoreResult second = store.Add(makeList(QStringLiteral("Second")));
        QVERIFY(second.ok());
        QVERIFY(keptcopy(second).isEmpty());
        QCOMPARE(bytesOf(backup()), original);

        // A later run on a file damaged again keeps the first copy as it is.
        writeBytes(file(), bytesOf(textData("euckr.txt")));
        WordListStore later(file());
        QVERIFY(later.Load().ok());
        const StoreResult third = later.Add(makeList(QStringLiteral("Third")));
        QVERIFY(third.ok());
        QVERIFY(keptcopy(third).isEmpty());
        QCOMPARE(bytesOf(backup()), original);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 QStringList({QStringLiteral("lists.txt"), QStringLiteral("lists.txt.bak")}));
    }

    void cleanFileMakesNoCopy_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<bool>("exists");
        QTest::newRow("as the program writes it") << bytesOf(dataFile("fruit.txt")) << true;
        QTest::newRow("UTF-8 with mark") << bytesOf(dataFile("fruit_utf8.txt")) << true;
        QTest::newRow("UTF-8 without mark") << bytesOf(dataFile("fruit_utf8.txt")).mid(3) << true;
        QTest::newRow("U+FFFD written in the file") << QByteArray("\xFF\xFE\xFD\xFF", 4) << true;
        QTest::newRow("0 bytes") << QByteArray() << true;
        QTest::newRow("missing") << QByteArray() << false;
    }
    void cleanFileMakesNoCopy()
    {
        QFETCH(QByteArray, original);
        QFETCH(bool, exists);
        if (exists)
            writeBytes(file(), original);
        WordListStore store(file());
        QCOMPARE(store.Load().ok(), exists);
        const StoreResult added = store.Add(makeList(QStringLiteral("New")));
        QVERIFY(added.ok());
        QVERIFY(keptcopy(added).isEmpty());
        QVERIFY(!QFileInfo::exists(backup()));
    }

    // Without its copy a damaged file is not rewritten, and the copy is still owed.
    void copyThatCannotBeMadeRewritesNothing()
    {
        const QByteArray original = bytesOf(textData("shiftjis.txt"));
        writeBytes(file(), original);
        QVERIFY(QDir().mkdir(backup())); // in the way even of root
        WordListStore store(file());
        QVERIFY(store.Load().ok());
        const QList<WordSet> lists = everyList(store);
        const StoreResult failed = store.Remove(4);
        QVERIFY(!failed.ok());
        QVERIFY2(failed.error().message.startsWith(QStringLiteral("Cannot create file \"%1\". ")
                                                       .arg(QDir::toNativeSeparators(backup()))),
                 qPrintable(failed.error().message));
        QVERIFY(keptcopy(failed).isEmpty());
        QCOMPARE(bytesOf(file()), original);
        QCOMPARE(everyList(store), lists);

        QVERIFY(QDir(backup()).removeRecursively());
        const StoreResult retried = store.Remove(4);
        QVERIFY(retried.ok());
        QCOMPARE(keptcopy(retried), QDir::toNativeSeparators(backup()));
        QCOMPARE(bytesOf(backup()), original);
    }

    void readOnlyFolderKeepsTheDamagedFile()
    {
#if defined(Q_OS_UNIX)
        if (geteuid() == 0)
            QSKIP("root writes into any folder");
#endif
        const QByteArray original = bytesOf(textData("windows1251.txt"));
        writeBytes(file(), original);
        WordListStore store(file());
        QVERIFY(store.Load().ok());
        const QFile::Permissions old = QFile::permissions(dir.path());
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        const StoreResult failed = store.Add(makeList(QStringLiteral("New")));
        QFile::setPermissions(dir.path(), old);
        QVERIFY(!failed.ok());
        QVERIFY2(failed.error().message.contains(QDir::toNativeSeparators(backup())),
                 qPrintable(failed.error().message));
        QCOMPARE(bytesOf(file()), original);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("lists.txt")});
    }

    // Nothing is left to keep of a file removed since it was read.
    void removedFileNeedsNoCopy()
    {
        writeBytes(file(), bytesOf(textData("shiftjis.txt")));
        WordListStore store(file());
        QVERIFY(store.Load().ok());
        QVERIFY(QFile::remove(file()));
        const StoreResult added = store.Add(makeList(QStringLiteral("New")));
        QVERIFY(added.ok());
        QVERIFY(keptcopy(added).isEmpty());
        QVERIFY(!QFileInfo::exists(backup()));
        QCOMPARE(store.Get(4).words[0].text, QStringLiteral("りんご"));
    }
};

VASKELIO_TEST_MAIN(TestWordListStore)
#include "tst_wordliststore.moc"
