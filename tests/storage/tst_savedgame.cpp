#include "i18n/texttable.h"
#include "sandbox.h"
#include "storage/savedgame.h"
#include "text/textfile.h"

#include <QtTest>

#if defined(Q_OS_UNIX)
#include "unwrittenpipe.h"
#endif

namespace {
QString dataFile(const char *name)
{
    return QStringLiteral(VASKELIO_TEST_DATA "/savedgames/") + QString::fromLatin1(name);
}

QByteArray bytesOf(const char *name)
{
    QFile file(dataFile(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

SavedGameRead<SavedGame> parseFile(const char *name)
{
    const TextFileResult read = readtextfile(dataFile(name));
    return parseSavedGame(read ? read->text : QString());
}

// The game of hard_game.wrd as the program writes it, with the title and words given.
QByteArray hardGameWith(const QString &title, const QStringList &words)
{
    SavedGame game = parseFile("hard_game.wrd").value();
    game.words = WordSet::fromTexts(title, words);
    return game.toBytes();
}

SavedGame fromBytes(const QByteArray &bytes)
{
    const auto parsed = parseSavedGame(decodetext(bytes).text);
    return parsed.ok() ? parsed.value() : SavedGame();
}

const QStringList kWords{
    QStringLiteral("apple"), QStringLiteral("pear"),  QStringLiteral("plum"),
    QStringLiteral("fig"),   QStringLiteral("lime"),  QStringLiteral("kiwi"),
    QStringLiteral("date"),  QStringLiteral("peach"), QStringLiteral("りんご")};
} // namespace

class TestSavedGame : public QObject {
    Q_OBJECT

private slots:
    void readsTheReferenceFile()
    {
        const auto parsed = parseFile("hard_game.wrd");
        QVERIFY(parsed.ok());
        const SavedGame &game = parsed.value();
        QCOMPARE(game.solution[0], 5);
        QCOMPARE(game.solution[4], 4); // column 1, row 5
        QVERIFY(game.given[0] && !game.given[4]);
        QCOMPARE(game.board[4], 4);
        QCOMPARE(game.board[11], 7);
        QCOMPARE(game.board[18], 9);
        QCOMPARE(game.board[80], 1);
        QCOMPARE(game.level, 2);
        QCOMPARE(game.words.title, QStringLiteral("Fruit 水果"));
        QCOMPARE(game.words.texts(), kWords);
        int givens = 0;
        for (bool g : game.given)
            givens += g ? 1 : 0;
        QCOMPARE(givens, 44);
    }

    // What the program writes is byte for byte the reference file.
    void writesTheReferenceBytes()
    {
        const SavedGame game = parseFile("hard_game.wrd").value();
        const QByteArray bytes = game.toBytes();
        QCOMPARE(bytes, bytesOf("hard_game.wrd"));
        QVERIFY(bytes.startsWith("\xFF\xFE"));
        QCOMPARE(bytes.count(QByteArray("\r\0\n\0", 4)), 14);
        QVERIFY(bytes.endsWith(QByteArray("\r\0\n\0", 4)));
    }

    void otherEncodingsAndLineEndsReadAlike_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("UTF-8 with its mark, LF") << QStringLiteral("hard_game_utf8.wrd");
        QTest::newRow("UTF-16 BE, CR") << QStringLiteral("hard_game_utf16be_cr.wrd");
    }
    void otherEncodingsAndLineEndsReadAlike()
    {
        QFETCH(QString, file);
        const auto other = parseFile(file.toLatin1().constData());
        QVERIFY(other.ok());
        const SavedGame reference = parseFile("hard_game.wrd").value();
        QCOMPARE(other.value().toBytes(), reference.toBytes());
    }

    void missingLinesAndShortGivens()
    {
        const auto four = parseFile("only_four_lines.wrd");
        QVERIFY(four.ok());
        QVERIFY(four.value().words.title.isEmpty());
        QCOMPARE(four.value().words.texts(), QStringList(9, QString()));

        const auto shortGivens = parseFile("short_given_line.wrd");
        QVERIFY(shortGivens.ok());
        const SavedGame &game = shortGivens.value();
        // Past its end, line 2 counts as given.
        for (int p = 9; p < 81; ++p)
            QVERIFY(game.given[p]);
        QVERIFY(!game.given[4]);
    }

    void levelSevenIsKept()
    {
        const auto parsed = parseFile("level_seven.wrd");
        QVERIFY(parsed.ok());
        QCOMPARE(parsed.value().level, 7);
    }

    // Each refusal names the line that is wrong, or says what is wrong with the file as a whole.
    void damagedFilesAreRefused_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("where");
        using Kind = SavedGameError::Kind;
        const auto row = [](const char *name, const char *file, Kind kind, const char *where) {
            QTest::newRow(name) << QString::fromLatin1(file) << int(kind)
                                << QString::fromUtf8(where);
        };
        row("solution 0", "solution_zero.wrd", Kind::Digit,
            "line 1 needs a digit 1 to 9 at position 41");
        row("letter on the board", "board_letter.wrd", Kind::Digit,
            "line 3 needs a digit 0 to 9 at position 61");
        row("80 characters", "short_solution.wrd", Kind::Digit,
            "line 1 needs a digit 1 to 9 at position 81");
        row("level is a word", "level_not_a_number.wrd", Kind::Level,
            "line 4 holds no level number");
        row("no bytes", "empty.wrd", Kind::Digit, "line 1");
        row("all ones", "all_ones.wrd", Kind::NotAGrid, "line 1 is not a completed Sudoku grid");
        row("rows broken", "rows_broken.wrd", Kind::NotAGrid,
            "line 1 is not a completed Sudoku grid");
        row("given cell shown empty", "given_shown_empty.wrd", Kind::GivenMismatch,
            "line 3 needs the given digit 6 at position 2");
        row("given cell shows another word", "given_other_word.wrd", Kind::GivenMismatch,
            "line 3 needs the given digit 2 at position 4");
        row("UTF-16 LE cut in the title", "cut_in_title.wrd", Kind::CutCharacter,
            "line 5 ends inside a character");
        row("UTF-16 BE cut at the end", "cut_at_end_utf16be.wrd", Kind::CutCharacter,
            "line 14 ends inside a character");
        row("a folder", ".", Kind::NotAFile, "it is a folder, a device, a pipe or a socket");
        row("missing", "nowhere.wrd", Kind::Unreadable, "No such file");
    }
    void damagedFilesAreRefused()
    {
        QFETCH(QString, file);
        QFETCH(int, kind);
        QFETCH(QString, where);
        const auto read = readSavedGame(dataFile(file.toLatin1().constData()));
        QVERIFY(!read.ok());
        const SavedGameError &error = read.error();
        QCOMPARE(int(error.kind), kind);
        const QString message = error.message(TextTables());
        QVERIFY2(message.contains(where), qPrintable(message));
        if (error.kind != SavedGameError::Kind::Unreadable)
            QVERIFY(message.startsWith(QStringLiteral("This is not a saved game: ")));
    }

    void refusalsFollowTheLanguage()
    {
        TextTables texts;
        texts.setLangid(1);
        texts.selectLanguage();
        const auto read = readSavedGame(dataFile("given_shown_empty.wrd"));
        QCOMPARE(read.error().message(texts),
                 QStringLiteral("这不是存档游戏：第3行第2个字符应为给定的数字6。"));
    }

    // A pipe would block the reader until a writer came, a device might never end: neither is
    // opened. The size is asked before reading, so a huge file is not read at all.
    void onlyFilesOfASavedGameSizeAreRead()
    {
        QTemporaryDir dir;
#if defined(Q_OS_UNIX)
        const QString fifo = dir.filePath(QStringLiteral("pipe.wrd"));
        const UnwrittenPipe pipe(fifo);
        QVERIFY(pipe.ok());
        for (const QString &path : {fifo, QStringLiteral("/dev/zero")}) {
            const auto read = readSavedGame(path);
            QVERIFY2(!read.ok(), qPrintable(path));
            QCOMPARE(read.error().kind, SavedGameError::Kind::NotAFile);
        }
#endif

        // The largest file that is read holds a game with a long title; two bytes more do not.
        const QByteArray game = bytesOf("hard_game.wrd");
        const qsizetype titleStart = 2 + 2 * (3 * 83 + 3);
        const qsizetype titleEnd = game.indexOf(QByteArray("\r\0\n\0", 4), titleStart);
        QCOMPARE(titleEnd, titleStart + 2 * 8);
        QByteArray largest = game;
        largest.insert(titleEnd, QByteArray(kMaxSavedGameBytes - game.size(), 'a'));
        QCOMPARE(largest.size(), kMaxSavedGameBytes);
        const QString file = dir.filePath(QStringLiteral("large.wrd"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(largest);
        out.close();
        const auto read = readSavedGame(file);
        QVERIFY(read.ok());
        QCOMPARE(read.value().words.title.size(), 8 + (kMaxSavedGameBytes - game.size()) / 2);
        QCOMPARE(read.value().words.text(9), QStringLiteral("りんご"));

        QVERIFY(out.open(QIODevice::Append));
        out.write("a\0", 2);
        out.close();
        const auto tooLarge = readSavedGame(file);
        QVERIFY(!tooLarge.ok());
        QCOMPARE(tooLarge.error().kind, SavedGameError::Kind::TooLarge);
        QCOMPARE(tooLarge.error().message(TextTables()),
                 QStringLiteral("This is not a saved game: the file is larger than 1 MiB."));
    }

    // A pasted line break in the title or a word is written as a space: every line stays where
    // it belongs.
    void lineBreaksAreWrittenAsSpaces_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("stored");
        QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << QStringLiteral("a  b");
        QTest::newRow("CR") << QStringLiteral("a\rb") << QStringLiteral("a b");
        QTest::newRow("LF at both ends") << QStringLiteral("\na\n") << QStringLiteral(" a ");
    }
    void lineBreaksAreWrittenAsSpaces()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, stored);
        QStringList words = kWords;
        words[2] = pasted;
        const QByteArray bytes = hardGameWith(pasted, words);
        QCOMPARE(bytes.count(QByteArray("\r\0\n\0", 4)), 14);
        const SavedGame back = fromBytes(bytes);
        QCOMPARE(back.words.title, stored);
        words[2] = stored;
        QCOMPARE(back.words.texts(), words);
        QCOMPARE(back.level, 2);
    }

    void everyCellRoundTrips()
    {
        SavedGame game;
        const SavedGame hard = parseFile("hard_game.wrd").value();
        for (int p = 0; p < 81; ++p) {
            game.solution[p] = hard.solution[p];
            game.given[p] = p % 3 == 0;
            // Given cells show their word; the others every number the board can hold.
            game.board[p] = game.given[p] ? game.solution[p] : p % 10;
        }
        game.level = 4;
        game.words = WordSet::fromTexts(QStringLiteral("a=b\tc"), kWords);
        const auto back = parseSavedGame(
            QString::fromUtf16(reinterpret_cast<const char16_t *>(game.toBytes().constData() + 2),
                               (game.toBytes().size() - 2) / 2));
        QVERIFY(back.ok());
        const SavedGame &read = back.value();
        QVERIFY(read.solution == game.solution);
        QVERIFY(read.given == game.given);
        QVERIFY(read.board == game.board);
        QCOMPARE(read.level, 4);
        QCOMPARE(read.words.title, game.words.title);
        QCOMPARE(read.words.texts(), game.words.texts());
    }
};

VASKELIO_TEST_MAIN(TestSavedGame)
#include "tst_savedgame.moc"
