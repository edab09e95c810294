#include "board/tntcell.h"
#include "board/tntspeedbutton.h"
#include "board/tntstdsudoku.h"
#include "board/wordpalette.h"
#include "programfixture.h"
#include "sandbox.h"
#include "storage/autosave.h"
#include "windows/frmnewgame.h"
#include "windows/mainwindow.h"

#include <QAccessible>
#include <QLineEdit>
#include <QStatusBar>
#include <QTemporaryDir>

namespace {
struct Node {
    QAccessible::Role role;
    QString name;
    QString value;
    QObject *object;
    QAccessible::State state;
};

// Every interface under the window, depth first, as a screen reader walks the tree.
void walk(QAccessibleInterface *at, QList<Node> &out, int depth = 0)
{
    if (!at || depth > 20)
        return;
    out.append({at->role(), at->text(QAccessible::Name), at->text(QAccessible::Value), at->object(),
                at->state()});
    for (int n = 0; n < at->childCount(); ++n)
        walk(at->child(n), out, depth + 1);
}

const Node *find(const QList<Node> &tree, QObject *object)
{
    for (const Node &node : tree)
        if (node.object == object)
            return &node;
    return nullptr;
}
} // namespace

// What a screen reader finds in the main window: named cells, named palette buttons, the
// status text.
class TestAccessibility : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ProgramFixture> fixture;

    TaaForm1 &main() { return fixture->main(); }

    QList<Node> tree()
    {
        QList<Node> nodes;
        walk(QAccessible::queryAccessibleInterface(&main()), nodes);
        return nodes;
    }

    void startGame()
    {
        Tfrmnewgame &d = fixture->program->frmnewgame();
        for (int k = 1; k <= 9; ++k)
            d.box(k)->setText(testWords().at(k - 1));
        d.box(0)->setText(QStringLiteral("Numbers"));
        d.BitBtn1Click();
    }

    // The first cell, in reading order, given or not as asked.
    QPoint firstCell(bool given)
    {
        for (int j = 1; j <= 9; ++j)
            for (int i = 1; i <= 9; ++i)
                if (fixture->model().cell(i, j).given == given)
                    return {i, j};
        return {};
    }

private slots:
    void init()
    {
        QFile::remove(autosavefile()); // each starts with no game
        fixture = std::make_unique<ProgramFixture>(dir.filePath(QStringLiteral("s.ini")));
        fixture->program->show();
        QVERIFY(QTest::qWaitForWindowActive(&main()));
        main().language().setLanguage(0);
        startGame();
    }
    void cleanup() { fixture.reset(); }

    void cellsAreNamed_data()
    {
        QTest::addColumn<int>("langid");
        QTest::addColumn<QString>("givenName");
        QTest::addColumn<QString>("emptyName");
        QTest::addColumn<QString>("placedName");
        QTest::addColumn<QString>("emptyValue");
        QTest::newRow("English") << 0 << QStringLiteral("row %1, column %2: %3, given")
                                 << QStringLiteral("row %1, column %2: empty")
                                 << QStringLiteral("row %1, column %2: %3")
                                 << QStringLiteral("empty");
        QTest::newRow("Chinese") << 1 << QStringLiteral("第%1行，第%2列：%3，给定")
                                 << QStringLiteral("第%1行，第%2列：空")
                                 << QStringLiteral("第%1行，第%2列：%3") << QStringLiteral("空");
        QTest::newRow("Japanese") << 2 << QStringLiteral("%1行%2列：%3、固定")
                                  << QStringLiteral("%1行%2列：空白")
                                  << QStringLiteral("%1行%2列：%3") << QStringLiteral("空白");
    }
    void cellsAreNamed()
    {
        QFETCH(int, langid);
        QFETCH(QString, givenName);
        QFETCH(QString, emptyName);
        QFETCH(QString, placedName);
        QFETCH(QString, emptyValue);
        main().language().setLanguage(langid);
        const QPoint given = firstCell(true), open = firstCell(false), placed = firstCell(false);
        const QString givenWord = fixture->model().shown(given.x(), given.y());

        QList<Node> nodes = tree();
        int cells = 0;
        for (const Node &node : nodes)
            cells += node.role == QAccessible::Cell ? 1 : 0;
        QCOMPARE(cells, 81);
        const Node *g = find(nodes, main().board()->cell(given.x(), given.y()));
        QVERIFY(g);
        QCOMPARE(g->name, givenName.arg(given.y()).arg(given.x()).arg(givenWord));
        const Node *e = find(nodes, main().board()->cell(open.x(), open.y()));
        QVERIFY(e);
        QCOMPARE(e->name, emptyName.arg(open.y()).arg(open.x()));
        QCOMPARE(e->value, emptyValue);

        // A word placed is read with the cell; the name follows the board.
        QTest::mouseClick(main().wordPalette()->button(4), Qt::LeftButton);
        QTest::mouseClick(main().board()->cell(placed.x(), placed.y()), Qt::LeftButton);
        nodes = tree();
        const Node *p = find(nodes, main().board()->cell(placed.x(), placed.y()));
        QVERIFY(p);
        QCOMPARE(p->name, placedName.arg(placed.y()).arg(placed.x()).arg(testWords().at(3)));
        QCOMPARE(p->value, testWords().at(3));
    }

    void paletteButtonsAreNamedByNumberAndWord()
    {
        const QList<Node> nodes = tree();
        for (int k = 1; k <= 9; ++k) {
            const Node *b = find(nodes, main().wordPalette()->button(k));
            QVERIFY(b);
            QVERIFY(b->role == QAccessible::Button || b->role == QAccessible::CheckBox);
            QCOMPARE(bool(b->state.checked), k == 1); // a new game selects word 1
            QCOMPARE(b->name, QStringLiteral("word %1: %2").arg(k).arg(testWords().at(k - 1)));
        }
    }

    void theStatusTextIsExposed()
    {
        TTntcell *cell = main().board()->cell(firstCell(false).x(), firstCell(false).y());
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(cell, &enter);
        const QString status = main().statusText();
        QVERIFY(!status.isEmpty());
        const QList<Node> nodes = tree();
        const Node *bar = find(nodes, main().statusBar());
        QVERIFY(bar);
        QCOMPARE(bar->name, QStringLiteral("Status"));
        bool shown = false;
        for (const Node &node : nodes)
            shown =
                shown || (node.name == status && node.object &&
                          main().statusBar()->isAncestorOf(qobject_cast<QWidget *>(node.object)));
        QVERIFY(shown);
    }
};

VASKELIO_GUI_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
