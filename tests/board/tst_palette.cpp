#include "board/tntspeedbutton.h"
#include "board/wordpalette.h"
#include "sandbox.h"

#include <QApplication>
#include <QSignalSpy>
#include <QtTest>

class TestPalette : public QObject {
    Q_OBJECT

private slots:
    void layout()
    {
        WordPalette palette;
        QCOMPARE(palette.objectName(), QStringLiteral("gbselectword"));
        QCOMPARE(palette.size(), QSize(211, 218));
        const QPoint places[9] = {{8, 19},   {73, 19}, {137, 19}, {8, 83},   {73, 83},
                                  {137, 83}, {8, 146}, {73, 146}, {137, 146}};
        for (int k = 1; k <= 9; ++k) {
            TTntspeedbutton *b = palette.button(k);
            QCOMPARE(b->objectName(), QStringLiteral("but%1").arg(k));
            QCOMPARE(b->geometry(), QRect(places[k - 1], QSize(60, 60)));
            QVERIFY(b->isfixed());
            QCOMPARE(b->value(), 0);
            QVERIFY(!b->isChecked());
        }
        QCOMPARE(palette.pressed(), 0);
        TTntspeedbutton fresh;
        QCOMPARE(fresh.mycaption(), QStringLiteral("mycaption"));
        QCOMPARE(fresh.size(), QSize(30, 30));
    }

    void oneButtonPressedAtATime()
    {
        WordPalette palette;
        palette.show();
        QVERIFY(QTest::qWaitForWindowExposed(&palette));
        QSignalSpy clicked(&palette, &WordPalette::wordClicked);
        QTest::mouseClick(palette.button(2), Qt::LeftButton);
        QTest::mouseClick(palette.button(5), Qt::LeftButton);
        QVERIFY(palette.button(5)->isChecked());
        QVERIFY(!palette.button(2)->isChecked());
        QCOMPARE(palette.pressed(), 5);
        // Clicking the pressed button keeps it pressed and reports the word again.
        QTest::mouseClick(palette.button(5), Qt::LeftButton);
        QVERIFY(palette.button(5)->isChecked());
        QCOMPARE(clicked.size(), 3);
        QCOMPARE(clicked.at(1).at(0).toInt(), 5);
        QCOMPARE(clicked.at(2).at(0).toInt(), 5);
        // Only the left button clicks.
        QTest::mouseClick(palette.button(7), Qt::RightButton);
        QCOMPARE(palette.pressed(), 5);
        QCOMPARE(clicked.size(), 3);
        // Pressing from code does not count as a click.
        palette.setPressed(1);
        QCOMPARE(palette.pressed(), 1);
        QCOMPARE(clicked.size(), 3);
    }

    void showwordsSetsTheCaptions()
    {
        WordPalette palette;
        const QStringList words{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                QStringLiteral("d"), QStringLiteral("e"), QStringLiteral("f"),
                                QStringLiteral("g"), QStringLiteral("h"), QStringLiteral("i")};
        palette.showwords(words);
        for (int k = 1; k <= 9; ++k)
            QCOMPARE(palette.button(k)->mycaption(), words.at(k - 1));
    }

    void captionRepaintsOnlyWhenItChanges()
    {
        TTntspeedbutton button;
        button.resize(60, 60);
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        int paints = 0;
        struct Counter : QObject {
            int *n;
            explicit Counter(int *p) : n(p) {}
            bool eventFilter(QObject *, QEvent *e) override
            {
                if (e->type() == QEvent::Paint)
                    ++*n;
                return false;
            }
        } counter(&paints);
        button.installEventFilter(&counter);
        QCoreApplication::processEvents();
        paints = 0;
        button.Setmycaption(QStringLiteral("mycaption"));
        button.Setvalue(3);
        button.Setisfixed(false);
        QCoreApplication::processEvents();
        QCOMPARE(paints, 0);
        button.Setmycaption(QStringLiteral("cat"));
        QCoreApplication::processEvents();
        QCOMPARE(paints, 1);
    }

    // A caption wider than the 54 text pixels wraps at its spaces; the text stays in the
    // text rectangle and does not move when the button is pressed.
    void captionsWrapAndStayPut()
    {
        WordPalette palette;
        palette.showwords({QStringLiteral("ice cream sundae"), QStringLiteral("ice"),
                           QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"),
                           QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"),
                           QStringLiteral("x")});
        TTntspeedbutton *wide = palette.button(1);
        TTntspeedbutton *narrow = palette.button(2);
        // Compare the pixels of the face with and without a caption.
        auto inkOf = [](TTntspeedbutton *b) {
            const QString caption = b->mycaption();
            const QImage with = b->grab().toImage();
            b->Setmycaption(QString());
            const QImage without = b->grab().toImage();
            b->Setmycaption(caption);
            QRect box;
            for (int y = 0; y < with.height(); ++y)
                for (int x = 0; x < with.width(); ++x)
                    if (with.pixel(x, y) != without.pixel(x, y))
                        box |= QRect(x, y, 1, 1);
            return box;
        };
        const QRect wideInk = inkOf(wide);
        const QRect narrowInk = inkOf(narrow);
        QVERIFY(!wideInk.isEmpty() && !narrowInk.isEmpty());
        QVERIFY(wideInk.height() > 2 * narrowInk.height());
        QVERIFY(wideInk.left() >= 2 && wideInk.right() <= 56);

        palette.setPressed(2);
        const QRect pressedInk = inkOf(narrow);
        QCOMPARE(pressedInk, narrowInk);
    }

    void longWordsWhole_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("lines");
        QTest::newRow("blackberry") << QStringLiteral("blackberry") << 1;
        QTest::newRow("pomegranate") << QStringLiteral("pomegranate") << 1;
        QTest::newRow("six kana") << QStringLiteral("しんかんせん") << 1;
        QTest::newRow("five kana") << QStringLiteral("じてんしゃ") << 1;
        QTest::newRow("han") << QStringLiteral("图书馆员工") << 1;
        QTest::newRow("two words") << QStringLiteral("blackbird hawk") << 2;
        QTest::newRow("kana and a space") << QStringLiteral("しんかんせん のりば") << 2;
    }
    // A word is never broken inside itself: it stands whole on its line, shrunk until it fits,
    // clear of the text rectangle's edges. Lines break only at spaces.
    void longWordsWhole()
    {
        QFETCH(QString, word);
        QFETCH(int, lines);
        TTntspeedbutton button;
        button.resize(60, 60);
        button.Setmycaption(QString());
        const QImage blank = button.grab().toImage();
        button.Setmycaption(word);
        const QImage shown = button.grab().toImage();
        QRect ink;
        QList<int> inkRows;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) != blank.pixel(x, y)) {
                    ink |= QRect(x, y, 1, 1);
                    if (inkRows.isEmpty() || inkRows.constLast() != y)
                        inkRows.append(y);
                }
        QVERIFY(!ink.isEmpty());
        int bands = 1;
        for (qsizetype k = 1; k < inkRows.size(); ++k)
            bands += inkRows.at(k) > inkRows.at(k - 1) + 1;
        QCOMPARE(bands, lines);
        const QString where = QStringLiteral("%1..%2").arg(ink.left()).arg(ink.right());
        QVERIFY2(ink.left() > 2 && ink.right() < 56, qPrintable(where));
        QVERIFY(ink.top() >= 2 && ink.bottom() < 56);
    }
};

VASKELIO_GUI_TEST_MAIN(TestPalette)
#include "tst_palette.moc"
