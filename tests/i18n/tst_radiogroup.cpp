#include "sandbox.h"
#include "widgets/radiogroup.h"

#include <QGridLayout>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

namespace {
QStringList levels()
{
    return {QStringLiteral("Easy"), QStringLiteral("Standard"), QStringLiteral("Hard"),
            QStringLiteral("Expert"), QStringLiteral("Extreme")};
}

int checkedCount(const RadioGroup &group)
{
    int checked = 0;
    for (int n = 0; n < group.count(); ++n)
        checked += group.button(n)->isChecked() ? 1 : 0;
    return checked;
}

// Row and column of item n in the group's grid.
QPair<int, int> cellOf(const RadioGroup &group, int n)
{
    auto *grid = qobject_cast<QGridLayout *>(group.layout());
    int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(grid->indexOf(group.button(n)), &row, &column, &rowSpan, &columnSpan);
    return {row, column};
}
} // namespace

class TestRadioGroup : public QObject {
    Q_OBJECT

private slots:
    void startsWithFirstItemSelected();
    void emptyGroupHasNoSelection();
    void setItemIndex_data();
    void setItemIndex();
    void clickSelectsAndSignals();
    void setItemTextKeepsSelection();
    void setItemsKeepsOrResetsSelection_data();
    void setItemsKeepsOrResetsSelection();
    void fillsColumnByColumn_data();
    void fillsColumnByColumn();
};

void TestRadioGroup::startsWithFirstItemSelected()
{
    RadioGroup group(QStringLiteral("Select Level"), levels(), 1);
    QCOMPARE(group.title(), QStringLiteral("Select Level"));
    QCOMPARE(group.items(), levels());
    QCOMPARE(group.count(), 5);
    QCOMPARE(group.itemIndex(), 0);
    QCOMPARE(checkedCount(group), 1);
}

void TestRadioGroup::emptyGroupHasNoSelection()
{
    RadioGroup group;
    QCOMPARE(group.count(), 0);
    QCOMPARE(group.itemIndex(), -1);
    group.setItemIndex(0);
    QCOMPARE(group.itemIndex(), -1);
    QVERIFY(group.itemText(0).isEmpty());
    group.setItemText(0, QStringLiteral("ignored"));
    QVERIFY(group.button(0) == nullptr);

    QSignalSpy changes(&group, &RadioGroup::itemIndexChanged);
    group.setItems(levels());
    QCOMPARE(group.itemIndex(), 0);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.at(0).at(0).toInt(), 0);
}

void TestRadioGroup::setItemIndex_data()
{
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("emitted");

    QTest::newRow("another item") << 3 << 3 << 1;
    QTest::newRow("last item") << 4 << 4 << 1;
    QTest::newRow("the selected item again") << 1 << 1 << 0;
    QTest::newRow("past the end is ignored") << 5 << 1 << 0;
    QTest::newRow("-1 is ignored: one item stays selected") << -1 << 1 << 0;
}

void TestRadioGroup::setItemIndex()
{
    QFETCH(int, asked);
    QFETCH(int, selected);
    QFETCH(int, emitted);
    RadioGroup group(QString(), levels(), 1);
    group.setItemIndex(1);
    QSignalSpy changes(&group, &RadioGroup::itemIndexChanged);

    group.setItemIndex(asked);
    QCOMPARE(group.itemIndex(), selected);
    QCOMPARE(checkedCount(group), 1);
    QVERIFY(group.button(selected)->isChecked());
    QCOMPARE(changes.count(), emitted);
    if (emitted)
        QCOMPARE(changes.at(0).at(0).toInt(), selected);
}

void TestRadioGroup::clickSelectsAndSignals()
{
    RadioGroup group(QString(), levels(), 2);
    group.show();
    QVERIFY(QTest::qWaitForWindowExposed(&group));
    QSignalSpy changes(&group, &RadioGroup::itemIndexChanged);

    QTest::mouseClick(group.button(2), Qt::LeftButton);
    QCOMPARE(group.itemIndex(), 2);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.at(0).at(0).toInt(), 2);
    // Clicking the selected item cannot leave the group without a selection.
    QTest::mouseClick(group.button(2), Qt::LeftButton);
    QCOMPARE(group.itemIndex(), 2);
    QCOMPARE(checkedCount(group), 1);
    QCOMPARE(changes.count(), 1);
}

void TestRadioGroup::setItemTextKeepsSelection()
{
    RadioGroup group(QString(), levels(), 1);
    group.setItemIndex(4);
    QSignalSpy changes(&group, &RadioGroup::itemIndexChanged);
    group.setItemText(4, QStringLiteral("最难"));
    group.setItemText(0, QStringLiteral("入门"));
    group.setItemText(7, QStringLiteral("ignored"));
    QCOMPARE(group.itemText(4), QStringLiteral("最难"));
    QCOMPARE(group.itemText(0), QStringLiteral("入门"));
    QCOMPARE(group.count(), 5);
    QCOMPARE(group.itemIndex(), 4);
    QCOMPARE(changes.count(), 0);
}

void TestRadioGroup::setItemsKeepsOrResetsSelection_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("newCount");
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("emitted");

    QTest::newRow("index still there") << 2 << 3 << 2 << 0;
    QTest::newRow("index gone: first item") << 4 << 3 << 0 << 1;
    QTest::newRow("no items left") << 1 << 0 << -1 << 1;
}

void TestRadioGroup::setItemsKeepsOrResetsSelection()
{
    QFETCH(int, before);
    QFETCH(int, newCount);
    QFETCH(int, after);
    QFETCH(int, emitted);
    RadioGroup group(QString(), levels(), 1);
    group.setItemIndex(before);
    QSignalSpy changes(&group, &RadioGroup::itemIndexChanged);

    group.setItems(levels().mid(0, newCount));
    QCOMPARE(group.count(), newCount);
    QCOMPARE(group.itemIndex(), after);
    QCOMPARE(checkedCount(group), newCount > 0 ? 1 : 0);
    QCOMPARE(changes.count(), emitted);
}

void TestRadioGroup::fillsColumnByColumn_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QList<int>>("cols");

    QTest::newRow("5 in 1 column")
        << 5 << 1 << QList<int>{0, 1, 2, 3, 4} << QList<int>{0, 0, 0, 0, 0};
    QTest::newRow("5 in 2 columns")
        << 5 << 2 << QList<int>{0, 1, 2, 0, 1} << QList<int>{0, 0, 0, 1, 1};
    QTest::newRow("3 in 3 columns") << 3 << 3 << QList<int>{0, 0, 0} << QList<int>{0, 1, 2};
    QTest::newRow("more columns than items") << 2 << 4 << QList<int>{0, 0} << QList<int>{0, 1};
}

void TestRadioGroup::fillsColumnByColumn()
{
    QFETCH(int, items);
    QFETCH(int, columns);
    QFETCH(QList<int>, rows);
    QFETCH(QList<int>, cols);
    RadioGroup group(QString(), levels().mid(0, items), 3);
    group.setColumns(columns);
    QCOMPARE(group.columns(), columns);
    for (int n = 0; n < items; ++n) {
        const QPair<int, int> cell = cellOf(group, n);
        QCOMPARE(cell.first, rows.at(n));
        QCOMPARE(cell.second, cols.at(n));
    }
}

VASKELIO_GUI_TEST_MAIN(TestRadioGroup)
#include "tst_radiogroup.moc"
