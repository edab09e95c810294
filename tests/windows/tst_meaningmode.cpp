#include "board/tntcell.h"
#include "board/tntspeedbutton.h"
#include "board/tntstdsudoku.h"
#include "board/wordpalette.h"
#include "programfixture.h"
#include "sandbox.h"
#include "storage/savedgame.h"
#include "widgets/radiogroup.h"
#include "windows/frmoption.h"
#include "windows/mainwindow.h"

#include <QAccessible>
#include <QTemporaryDir>

namespace {
WordSet fruit()
{
    const char *const words[9][3] = {{"苹果", "píngguǒ", "apple"},
                                     {"香蕉", "xiāngjiāo", "banana"},
                                     {"梨", "lí", "pear"},
                                     {"桃", "táo", "peach"},
                                     {"橙子", "chéngzi", ""},
                                     {"葡萄", "", "grape"},
                                     {"西瓜", "xīguā", "watermelon"},
                                     {"草莓", "cǎoméi", "strawberry"},
                                     {"樱桃", "yīngtáo", "cherry"}};
    WordSet set;
    set.title = QStringLiteral("水果");
    for (int k = 0; k < 9; ++k)
        set.words[k] = Word(QString::fromUtf8(words[k][0]), QString::fromUtf8(words[k][1]),
                            QString::fromUtf8(words[k][2]));
    return set;
}
} // namespace

// The palette showing meanings or readings while the board takes the words.
class TestMeaningMode : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ProgramFixture> fixture;

    TaaForm1 &main() { return fixture->main(); }
    QString caption(int k) { return main().wordPalette()->button(k)->mycaption(); }
    QPoint openCellFor(int k)
    {
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (!fixture->model().cell(i, j).given && fixture->model().cell(i, j).solution == k)
                    return {i, j};
        return {};
    }

    void open()
    {
        fixture = std::make_unique<ProgramFixture>(dir.filePath(QStringLiteral("s.ini")));
        fixture->program->show();
        QVERIFY(QTest::qWaitForWindowActive(&main()));
        // As an import leaves them: in the glossary, not in the list.
        fixture->state().glossary.take(fruit(), false);
        fixture->state().settings.askreplace = false; // the last case's game is resumed
        QVERIFY(main().newgame(0, WordSet::fromTexts(fruit().title, fruit().texts())));
    }

private slots:
    void init()
    {
        QFile::remove(dir.filePath(QStringLiteral("s.ini")));
        open();
    }
    void cleanup() { fixture.reset(); }

    // Picking "apple" places 苹果, and the status bar says so; what is kept is the words alone.
    void meaningsOnThePaletteWordsOnTheBoard()
    {
        QCOMPARE(caption(1), QStringLiteral("苹果"));
        QTest::keyClick(&main(), Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(caption(1), QStringLiteral("apple"));
        QCOMPARE(caption(5), QStringLiteral("橙子")); // no meaning: the word itself
        QCOMPARE(
            main().statusText(),
            QStringLiteral("The word buttons show the meanings; the board still takes the words."));
        // A word with a reading and a meaning that the deal left a cell open for: seven words
        // have both, more cells than any deal gives.
        int k = 0;
        QPoint at;
        for (const int word : {1, 2, 3, 4, 7, 8, 9})
            if (at.isNull() && !(at = openCellFor(word)).isNull())
                k = word;
        QVERIFY(k != 0);
        const Word word = fruit().words[k - 1];
        QCOMPARE(caption(k), word.meaning);
        QTest::mouseClick(main().wordPalette()->button(k), Qt::LeftButton);
        QTest::mouseClick(main().board()->cell(at.x(), at.y()), Qt::LeftButton);
        QCOMPARE(main().board()->cell(at.x(), at.y())->text(), word.text);
        QCOMPARE(main().statusText(), QStringLiteral("Placed: ") + word.text);
        const QString line =
            word.text + QStringLiteral(" · ") + word.reading + QStringLiteral(" · ") + word.meaning;
        QCOMPARE(main().board()->cell(at.x(), at.y())->toolTip(), line);
        // A screen reader hears it as the cell's description.
        QAccessibleInterface *spoken =
            QAccessible::queryAccessibleInterface(main().board()->cell(at.x(), at.y()));
        QCOMPARE(spoken->text(QAccessible::Description), line);
        const QByteArray bytes = fixture->game().saved().toBytes();
        QVERIFY(!QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData() + 2),
                                    (bytes.size() - 2) / 2)
                     .contains(word.meaning));
    }

    // Words, meanings, readings, words; a list without either stays on its words.
    void controlMCycles()
    {
        const QString seen[] = {QStringLiteral("apple"), QStringLiteral("píngguǒ"),
                                QStringLiteral("苹果")};
        for (const QString &expected : seen) {
            QTest::keyClick(&main(), Qt::Key_M, Qt::ControlModifier);
            QCOMPARE(caption(1), expected);
        }
        QCOMPARE(caption(6), QStringLiteral("葡萄"));
        QVERIFY(
            main().newgame(0, WordSet::fromTexts(QStringLiteral("plain"),
                                                 {"a", "b", "c", "d", "e", "f", "g", "h", "i"})));
        QTest::keyClick(&main(), Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(caption(1), QStringLiteral("a"));
        QCOMPARE(main().statusText(),
                 QStringLiteral("This word list has no meanings or readings to show."));
    }

    // Hovering or selecting a palette word tells its reading and meaning; so does its tooltip.
    void paletteWordsTellWhatTheyMean()
    {
        TTntspeedbutton *pear = main().wordPalette()->button(3);
        QCOMPARE(pear->toolTip(), QStringLiteral("梨 · lí · pear"));
        QCOMPARE(pear->accessibleDescription(), QStringLiteral("梨 · lí · pear"));
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(pear, &enter);
        QCOMPARE(main().statusText(), QStringLiteral("梨 · lí · pear"));
        QTest::mouseClick(main().wordPalette()->button(6), Qt::LeftButton);
        QCOMPARE(main().statusText(), QStringLiteral("葡萄 · grape"));
    }

    // Each palette button counts what is left of its word; a word complete shows none left.
    void paletteCountsWhatIsLeft()
    {
        const GameModel &model = fixture->model();
        auto left = [&model](int k) {
            int shown = 0;
            for (int i = 1; i <= 9; ++i)
                for (int j = 1; j <= 9; ++j)
                    shown += model.filled(i, j) && model.value(i, j) == k ? 1 : 0;
            return 9 - shown;
        };
        for (int k = 1; k <= 9; ++k)
            QCOMPARE(main().wordPalette()->button(k)->remaining(), left(k));
        int k = 1;
        while (k < 9 && openCellFor(k).isNull())
            ++k;
        QTest::mouseClick(main().wordPalette()->button(k), Qt::LeftButton);
        QVERIFY(main().wordPalette()->button(k)->remaining() > 0);
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (!model.cell(i, j).given && model.cell(i, j).solution == k) {
                    QTest::mouseClick(main().board()->cell(i, j), Qt::LeftButton);
                    QCOMPARE(main().wordPalette()->button(k)->remaining(), left(k));
                }
        QCOMPARE(main().wordPalette()->button(k)->remaining(), 0);
    }

    // The choice in Options is kept in the settings and shown at once.
    void optionsChooseAndKeepIt()
    {
        fixture->program->makewindows();
        Tfrmoption *options = main().findChild<Tfrmoption *>();
        QVERIFY(options);
        options->show();
        options->paletteShows()->setItemIndex(2);
        options->Button2Click();
        QCOMPARE(caption(1), QStringLiteral("píngguǒ"));
        QCOMPARE(fixture->state().settings.paletteshows, 2);
        fixture.reset(); // writes the settings
        open();
        QCOMPARE(caption(2), QStringLiteral("xiāngjiāo"));
    }
};

VASKELIO_GUI_TEST_MAIN(TestMeaningMode)
#include "tst_meaningmode.moc"
