#include "engine/wordset.h"
#include "sandbox.h"

#include <QtTest>

namespace {
const QStringList kNine{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                        QStringLiteral("d"), QStringLiteral("e"), QStringLiteral("f"),
                        QStringLiteral("g"), QStringLiteral("h"), QStringLiteral("i")};
} // namespace

// Word k stands for digit k, so every way in and out of a set counts from 1; the old shapes put
// the title at 0 or the first word at 0, and a slip between them shifts every word by one.
class TestWordSet : public QObject {
    Q_OBJECT

private slots:
    void wordKIsTheKthText()
    {
        const WordSet set = WordSet::fromTexts(QStringLiteral("T"), kNine);
        QCOMPARE(set.title, QStringLiteral("T"));
        QCOMPARE(set.text(1), QStringLiteral("a"));
        QCOMPARE(set.text(9), QStringLiteral("i"));
        QCOMPARE(set.words[4].text, QStringLiteral("e"));
        QCOMPARE(set.texts(), kNine);
        // A damaged file's digit 0 or 10 names no word.
        QCOMPARE(set.text(0), QString());
        QCOMPARE(set.text(10), QString());
        QCOMPARE(set.text(-1), QString());
    }

    void fromTextsPadsAShortListAndCutsALongOne()
    {
        const WordSet shortSet = WordSet::fromTexts({}, kNine.mid(0, 2));
        QCOMPARE(shortSet.texts(), kNine.mid(0, 2) + QStringList(7, QString()));
        // Ten texts are nine words and one too many, not a title and nine words.
        const WordSet longSet = WordSet::fromTexts(QStringLiteral("T"), kNine + QStringList{"j"});
        QCOMPARE(longSet.title, QStringLiteral("T"));
        QCOMPARE(longSet.texts(), kNine);
        QCOMPARE(WordSet::fromTexts({}, {}), WordSet());
    }

    void setTextOutsideOneToNineChangesNothing()
    {
        const WordSet before = WordSet::fromTexts(QStringLiteral("T"), kNine);
        WordSet set = before;
        set.setText(0, QStringLiteral("x"));
        set.setText(10, QStringLiteral("x"));
        QCOMPARE(set, before);
        set.setText(9, QStringLiteral("x"));
        QCOMPARE(set.text(9), QStringLiteral("x"));
        QCOMPARE(set.texts().mid(0, 8), kNine.mid(0, 8));
        // The title and each word count for equality.
        QVERIFY(set != before);
        WordSet retitled = before;
        retitled.title = QStringLiteral("U");
        QVERIFY(retitled != before);
    }
};

VASKELIO_TEST_MAIN(TestWordSet)
#include "tst_wordset.moc"
