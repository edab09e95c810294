#include "sandbox.h"
#include "storage/savedgame.h"
#include "storage/textfile.h"

#include <QtTest>

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

std::variant<SavedGame, SavedGameError> parseFile(const char *name)
{
    const TextFileResult read = readtextfile(dataFile(name));
    return parseSavedGame(read.text);
}

// The game of hard_game.wrd as the program writes it, with the title and words given.
QByteArray hardGameWith(const QString &title, const QStringList &words)
{
    SavedGame game = std::get<SavedGame>(parseFile("hard_game.wrd"));
    game.title = title;
    game.words = words;
    return game.toBytes();
}

SavedGame fromBytes(const QByteArray &bytes)
{
    const auto parsed = parseSavedGame(decodetext(bytes).text);
    return std::holds_alternative<SavedGame>(parsed) ? std::get<SavedGame>(parsed) : SavedGame();
}

const QStringList kWords{QStringLiteral("apple"), QStringLiteral("pear"),
                         QStringLiteral("plum"),  QStringLiteral("fig"),
                         QStringLiteral("lime"),  QStringLiteral("kiwi"),
                         QStringLiteral("date"),  QStringLiteral("peach"),
                         QStringLiteral("りんご")};
} // namespace

class TestSavedGame : public QObject {
    Q_OBJECT

private slots:
    void readsTheReferenceFile()
    {
        const auto parsed = parseFile("hard_game.wrd");
        QVERIFY(std::holds_alternative<SavedGame>(parsed));
        const SavedGame &game = std::get<SavedGame>(parsed);
        QCOMPARE(game.solution[0], 5);
        QCOMPARE(game.solution[4], 4); // column 1, row 5
        QVERIFY(game.given[0] && !game.given[4]);
        QCOMPARE(game.board[4], 4);
        QCOMPARE(game.board[11], 7);
        QCOMPARE(game.board[18], 9);
        QCOMPARE(game.board[80], 1);
        QCOMPARE(game.level, 2);
        QCOMPARE(game.title, QStringLiteral("Fruit 水果"));
        QCOMPARE(game.words, kWords);
        int givens = 0;
        for (bool g : game.given)
            givens += g ? 1 : 0;
        QCOMPARE(givens, 44);
    }

    // What the program writes is byte for byte the reference file.
    void writesTheReferenceBytes()
    {
        const SavedGame game = std::get<SavedGame>(parseFile("hard_game.wrd"));
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
        QVERIFY(std::holds_alternative<SavedGame>(other));
        const SavedGame reference = std::get<SavedGame>(parseFile("hard_game.wrd"));
        QCOMPARE(std::get<SavedGame>(other).toBytes(), reference.toBytes());
    }

    void missingLinesAndShortGivens()
    {
        const auto four = parseFile("only_four_lines.wrd");
        QVERIFY(std::holds_alternative<SavedGame>(four));
        QVERIFY(std::get<SavedGame>(four).title.isEmpty());
        QCOMPARE(std::get<SavedGame>(four).words, QStringList(9, QString()));

        const auto shortGivens = parseFile("short_given_line.wrd");
        QVERIFY(std::holds_alternative<SavedGame>(shortGivens));
        const SavedGame &game = std::get<SavedGame>(shortGivens);
        // Past its end, line 2 counts as given.
        for (int p = 9; p < 81; ++p)
            QVERIFY(game.given[p]);
        QVERIFY(!game.given[4]);
    }

    void levelSevenIsKept()
    {
        const auto parsed = parseFile("level_seven.wrd");
        QVERIFY(std::holds_alternative<SavedGame>(parsed));
        QCOMPARE(std::get<SavedGame>(parsed).level, 7);
    }

    void damagedFilesAreRefused_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("where");
        QTest::newRow("solution 0") << QStringLiteral("solution_zero.wrd")
                                    << QStringLiteral("line 1 needs a digit 1 to 9 at position 41");
        QTest::newRow("letter on the board")
            << QStringLiteral("board_letter.wrd")
            << QStringLiteral("line 3 needs a digit 0 to 9 at position 61");
        QTest::newRow("80 characters") << QStringLiteral("short_solution.wrd")
                                       << QStringLiteral("line 1 needs a digit 1 to 9 at position 81");
        QTest::newRow("level is a word")
            << QStringLiteral("level_not_a_number.wrd") << QStringLiteral("line 4");
        QTest::newRow("no bytes") << QStringLiteral("empty.wrd") << QStringLiteral("line 1");
    }
    void damagedFilesAreRefused()
    {
        QFETCH(QString, file);
        QFETCH(QString, where);
        const auto parsed = parseFile(file.toLatin1().constData());
        QVERIFY(std::holds_alternative<SavedGameError>(parsed));
        const QString message = std::get<SavedGameError>(parsed).message;
        QVERIFY2(message.contains(where), qPrintable(message));
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
        QCOMPARE(back.title, stored);
        words[2] = stored;
        QCOMPARE(back.words, words);
        QCOMPARE(back.level, 2);
    }

    void everyCellRoundTrips()
    {
        SavedGame game;
        for (int p = 0; p < 81; ++p) {
            game.solution[p] = p % 9 + 1;
            game.given[p] = p % 3 == 0;
            game.board[p] = p % 10;
        }
        game.level = 4;
        game.title = QStringLiteral("a=b\tc");
        game.words = kWords;
        const auto back = parseSavedGame(QString::fromUtf16(
            reinterpret_cast<const char16_t *>(game.toBytes().constData() + 2),
            (game.toBytes().size() - 2) / 2));
        QVERIFY(std::holds_alternative<SavedGame>(back));
        const SavedGame &read = std::get<SavedGame>(back);
        QVERIFY(read.solution == game.solution);
        QVERIFY(read.given == game.given);
        QVERIFY(read.board == game.board);
        QCOMPARE(read.level, 4);
        QCOMPARE(read.title, game.title);
        QCOMPARE(read.words, game.words);
    }
};

VASKELIO_TEST_MAIN(TestSavedGame)
#include "tst_savedgame.moc"
