#include "engine/explain.h"
#include "engine/gamemodel.h"
#include "engine/qj.h"
#include "engine/solver.h"
#include "i18n/texttable.h"

#include <QtTest>

using sudoku::Grid;
using sudoku::LogicState;
using sudoku::Technique;
using Form = Explanation::Form;
using Unit = Explanation::Unit;

namespace {

// A solved grid by the shifting pattern; row r, column c (0-based) holds this word.
int patternWord(int r, int c)
{
    return (r * 3 + r / 3 + c) % 9 + 1;
}

const QStringList kFruit{QStringLiteral("苹果"), QStringLiteral("梨"), QStringLiteral("桃"),
                         QStringLiteral("李"),   QStringLiteral("杏"), QStringLiteral("枣"),
                         QStringLiteral("柿"),   QStringLiteral("橘"), QStringLiteral("瓜")};

// A game whose solution is the pattern grid, with given words at the (row, column) pairs.
void dealPattern(GameModel &model, const QVector<QPoint> &givenRowColumn)
{
    TQJ puzzle;
    for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 9; ++c) {
            TNode &n = puzzle.node(c + 1, r + 1);
            n = {c + 1, r + 1, patternWord(r, c), givenRowColumn.contains(QPoint(r, c))};
        }
    }
    model.start(puzzle, 4, WordSet::fromTexts(QStringLiteral("Fruit"), kFruit));
}

// A game from row-by-row digits, its solution found by the solver.
void dealDigits(GameModel &model, const QByteArray &digits)
{
    Grid givens{}, solution{};
    for (int p = 0; p < 81; ++p)
        givens[p] = digits.at(p) == '.' ? 0 : std::uint8_t(digits.at(p) - '0');
    QCOMPARE(sudoku::countSolutions(givens, 2, &solution), 1);
    TQJ puzzle;
    for (int p = 0; p < 81; ++p)
        puzzle.node(p % 9 + 1, p / 9 + 1) = {p % 9 + 1, p / 9 + 1, solution[p], givens[p] != 0};
    model.start(puzzle, 4, WordSet::fromTexts(QStringLiteral("Fruit"), kFruit));
}

// Fills as entries every cell the ladder up to limit fills from the givens.
void playLadder(GameModel &model, Technique limit)
{
    Grid givens{};
    for (int p = 0; p < 81; ++p)
        if (model.cell(p % 9 + 1, p / 9 + 1).given)
            givens[p] = std::uint8_t(model.cell(p % 9 + 1, p / 9 + 1).solution);
    const sudoku::Rating rating = sudoku::rate(givens, limit);
    for (int p = 0; p < 81; ++p)
        if (rating.grid[p])
            model.setEntry(p % 9 + 1, p / 9 + 1, rating.grid[p]);
}

bool seesCell(QPoint a, QPoint b)
{
    return a != b && (a.x() == b.x() || a.y() == b.y() ||
                      ((a.x() - 1) / 3 == (b.x() - 1) / 3 && (a.y() - 1) / 3 == (b.y() - 1) / 3));
}

// Some cell that at sees holds word.
bool seesWord(const GameModel &model, QPoint at, int word)
{
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j)
            if (model.value(i, j) == word && seesCell({i, j}, at))
                return true;
    return false;
}

QString text(const Explanation &e, const GameModel &model, int language)
{
    TextTables texts;
    texts.setLangid(language);
    texts.selectLanguage();
    return explanationText(e, model.curwords(), texts);
}

} // namespace

class TestExplain : public QObject {
    Q_OBJECT

private slots:
    // Row 1, column 1 holds word 1 in every case; the givens decide which single proves it.
    void singles_data()
    {
        QTest::addColumn<QVector<QPoint>>("givens");
        QTest::addColumn<Technique>("technique");
        QTest::addColumn<Unit>("unit");
        QTest::addColumn<QVector<QPoint>>("proof");
        QVector<QPoint> full;
        for (int r = 0; r < 9; ++r)
            for (int c = 0; c < 9; ++c)
                if (QPoint(r, c) != QPoint(0, 0) && r != 4 && c != 4)
                    full << QPoint(r, c);
        // The box holds the eight other words, found in the row first; 5 only in the box.
        QTest::newRow("naked") << full << Technique::NakedSingle << Unit::None
                               << QVector<QPoint>{{2, 1}, {3, 1}, {4, 1}, {6, 1},
                                                  {7, 1}, {8, 1}, {9, 1}, {2, 2}};
        // The other 1s shut the rest of row 1 out: two through boxes 2 and 3, two through
        // columns 2 and 3. The cell itself could hold any word.
        QTest::newRow("hidden in a row")
            << QVector<QPoint>{{1, 6}, {2, 3}, {5, 2}, {8, 1}} << Technique::HiddenSingle
            << Unit::Row << QVector<QPoint>{{7, 2}, {4, 3}, {3, 6}, {2, 9}};
        // Column 1 is full below the two rows that the 1s in boxes 2 and 3 shut out.
        QTest::newRow("hidden in a column")
            << QVector<QPoint>{{1, 6}, {2, 3}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}}
            << Technique::HiddenSingle << Unit::Column << QVector<QPoint>{{7, 2}, {4, 3}};
        // Box 1 is full but for its second row, which the 1 in box 3 shuts out.
        QTest::newRow("hidden in a box")
            << QVector<QPoint>{{0, 1}, {0, 2}, {2, 0}, {2, 1}, {2, 2}, {1, 6}}
            << Technique::HiddenSingle << Unit::Box << QVector<QPoint>{{7, 2}};
    }

    void singles()
    {
        QFETCH(QVector<QPoint>, givens);
        QFETCH(Technique, technique);
        QFETCH(Unit, unit);
        QFETCH(QVector<QPoint>, proof);
        GameModel model;
        dealPattern(model, givens);
        const Explanation e = explainCell(model, 1, 1);
        QCOMPARE(e.form, Form::Single);
        QCOMPARE(e.technique, technique);
        QCOMPARE(e.cell, QPoint(1, 1));
        QCOMPARE(e.word, 1);
        QCOMPARE(e.unit, unit);
        if (unit != Unit::None)
            QCOMPARE(e.unitNumber, 1);
        QCOMPARE(QSet<QPoint>(e.proof.begin(), e.proof.end()),
                 QSet<QPoint>(proof.begin(), proof.end()));
        QCOMPARE(e.proof.size(), proof.size());
    }

    // A wrong entry would break the position; a right one counts as a given does.
    void wrongEntriesAreIgnored()
    {
        GameModel model;
        dealPattern(model, {{1, 6}, {2, 3}, {5, 2}});
        model.setEntry(2, 9, 1); // right: word 1 at row 9, column 2
        model.setEntry(1, 5, 1); // wrong: word 1 again in column 1
        model.setEntry(5, 1, 1); // wrong, in the row itself
        model.setEntry(1, 1, 1); // the hint's cell, already filled
        const Explanation e = explainCell(model, 1, 1);
        QCOMPARE(e.technique, Technique::HiddenSingle);
        QCOMPARE(e.unit, Unit::Row);
        QVERIFY(e.proof.contains(QPoint(2, 9)));
        QVERIFY(!e.proof.contains(QPoint(1, 5)));
        // The next step is never a cell that shows its right word already.
        const Explanation next = explainNext(model);
        QVERIFY(!next.cell.isNull());
        QVERIFY(model.value(next.cell.x(), next.cell.y()) !=
                model.cell(next.cell.x(), next.cell.y()).solution);
    }

    // Everything filled but one wrong word: that cell is the next step; all right: none.
    void nextOnAFullBoard()
    {
        GameModel model;
        dealPattern(model, {});
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                model.setEntry(i, j, model.cell(i, j).solution);
        model.setEntry(4, 7, model.cell(4, 7).solution % 9 + 1);
        Explanation e = explainNext(model);
        QCOMPARE(e.form, Form::Single);
        QCOMPARE(e.technique, Technique::NakedSingle);
        QCOMPARE(e.cell, QPoint(4, 7));
        QCOMPARE(e.word, model.cell(4, 7).solution);
        model.setEntry(4, 7, model.cell(4, 7).solution);
        e = explainNext(model);
        QCOMPARE(e.form, Form::Nothing);
    }

    // Where the singles stall on a puzzle that needs locked candidates, the next step is a
    // single made by them, and the cells they clear are exactly what the single lacks.
    void higherTechnique()
    {
        GameModel model;
        dealDigits(model, "003000006000800040000000000060030500400000010000090000000700103740200000"
                          "000000900");
        playLadder(model, Technique::HiddenSingle);
        const Explanation e = explainNext(model);
        QCOMPARE(e.form, Form::Pattern);
        QCOMPARE(e.technique, Technique::LockedCandidates);
        QCOMPARE(e.word, model.cell(e.cell.x(), e.cell.y()).solution);
        QVERIFY(!e.proof.isEmpty());
        // What the single lacks is either held where the cell sees it or cleared, never both.
        if (e.single == Technique::NakedSingle) {
            QCOMPARE(e.cleared, QVector<QPoint>{e.cell});
            for (int word = 1; word <= 9; ++word)
                if (word != e.word)
                    QVERIFY(seesWord(model, e.cell, word) != e.clearedWords.contains(word));
        } else {
            QCOMPARE(e.single, Technique::HiddenSingle);
            QCOMPARE(e.clearedWords, QVector<int>{e.word});
            for (int i = 1; i <= 9; ++i) {
                for (int j = 1; j <= 9; ++j) {
                    const bool inUnit = e.unit == Unit::Row ? j == e.unitNumber
                                        : e.unit == Unit::Column
                                            ? i == e.unitNumber
                                            : (j - 1) / 3 * 3 + (i - 1) / 3 + 1 == e.unitNumber;
                    if (inUnit && QPoint(i, j) != e.cell && !model.value(i, j))
                        QVERIFY(seesWord(model, {i, j}, e.word) !=
                                e.cleared.contains(QPoint(i, j)));
                }
            }
        }
        // The same cell asked for by itself has the same reason.
        const Explanation cell = explainCell(model, e.cell.x(), e.cell.y());
        QCOMPARE(cell.form, Form::Pattern);
        QCOMPARE(cell.technique, Technique::LockedCandidates);
        QCOMPARE(cell.cleared, e.cleared);
    }

    // Past what the whole ladder fills, nothing short of guessing is left.
    void beyondTheLadder()
    {
        GameModel model;
        dealDigits(
            model,
            "1.......2.9.4...5...6...7...5.9.3.......7.......85..4.7.....6...3...9.8...2....."
            "1");
        playLadder(model, Technique::Jellyfish);
        const Explanation next = explainNext(model);
        QCOMPARE(next.form, Form::Solution);
        QVERIFY(!next.cell.isNull());
        QCOMPARE(model.value(next.cell.x(), next.cell.y()), 0);
        const Explanation cell = explainCell(model, next.cell.x(), next.cell.y());
        QCOMPARE(cell.form, Form::Solution);
        QCOMPARE(cell.technique, Technique::Guessing);
    }

    void sentences_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("naked");
        QTest::addColumn<QString>("hidden");
        QTest::newRow("English")
            << 0
            << QStringLiteral("Only 苹果 fits in row 1, column 1: every other word is in its row, "
                              "column or box.")
            << QStringLiteral("苹果 has one place left in row 1, at column 1: every other cell of "
                              "the row is filled or has 苹果 in its column or box.");
        QTest::newRow("Chinese")
            << 1 << QStringLiteral("第1行第1列只能填苹果：其他单词都已出现在它所在的行、列或宫中。")
            << QStringLiteral("苹果在第1行只剩一个位置，即第1列：这一行的其他格子要么已填，"
                              "要么所在的列或宫中已有苹果。");
        QTest::newRow("Japanese")
            << 2
            << QStringLiteral("1行1列に入るのは苹果だけです。ほかの単語はすべて同じ行・列・ブロッ"
                              "クにあります。")
            << QStringLiteral("1行目で苹果が入れるのは1列だけです。この行のほかのマスは埋まって"
                              "いるか、同じ列かブロックに苹果があります。");
    }

    void sentences()
    {
        QFETCH(int, language);
        QFETCH(QString, naked);
        QFETCH(QString, hidden);
        GameModel model;
        Explanation e;
        e.form = Form::Single;
        e.technique = Technique::NakedSingle;
        e.cell = QPoint(1, 1);
        e.word = 1;
        dealPattern(model, {});
        QCOMPARE(text(e, model, language), naked);
        e.technique = Technique::HiddenSingle;
        e.unit = Unit::Row;
        e.unitNumber = 1;
        QCOMPARE(text(e, model, language), hidden);
    }

    // Row and column in their places, lists joined, a word that looks like a placeholder kept.
    void patternSentence()
    {
        GameModel model;
        QStringList words = kFruit;
        words[0] = QStringLiteral("%2");
        TQJ puzzle;
        model.start(puzzle, 4, WordSet::fromTexts(QString(), words));
        Explanation e;
        e.form = Form::Pattern;
        e.technique = Technique::XWing;
        e.single = Technique::HiddenSingle;
        e.cell = QPoint(5, 3);
        e.word = 1;
        e.unit = Unit::Box;
        e.unitNumber = 2;
        e.cleared = {{4, 1}, {6, 2}, {6, 3}};
        e.clearedWords = {1};
        QCOMPARE(
            text(e, model, 0),
            QStringLiteral("X-wing: row 1, column 4; row 2, column 6 and row 3, column 6 cannot "
                           "hold %2, so %2 has one place left in box 2, at row 3, column 5."));
    }
};

QTEST_GUILESS_MAIN(TestExplain)
#include "tst_explain.moc"
