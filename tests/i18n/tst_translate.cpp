#include "sandbox.h"
#include "widgets/radiogroup.h"
#include "widgets/translate.h"

#include <QAction>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {
template<class T> T *named(QWidget *parent, const char *name, const QString &text = QString())
{
    auto *widget = new T(parent);
    widget->setObjectName(QLatin1String(name));
    if constexpr (std::is_base_of_v<QGroupBox, T>)
        widget->setTitle(text);
    else if constexpr (std::is_base_of_v<QPlainTextEdit, T> || std::is_base_of_v<QTextEdit, T>)
        widget->setPlainText(text);
    else if constexpr (!std::is_same_v<T, QWidget> && !std::is_same_v<T, QTabWidget>)
        widget->setText(text);
    if (parent && parent->layout())
        parent->layout()->addWidget(widget);
    return widget;
}

// What a component shows as its caption or text, whatever its kind.
QString shownText(QObject *component)
{
    if (auto *action = qobject_cast<QAction *>(component))
        return action->text();
    auto *widget = qobject_cast<QWidget *>(component);
    QWidget *stack = widget->parentWidget();
    if (auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr)
        return tabs->tabText(tabs->indexOf(widget));
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text();
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    if (auto *box = qobject_cast<QGroupBox *>(widget))
        return box->title();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
        return plain->toPlainText();
    if (auto *rich = qobject_cast<QTextEdit *>(widget))
        return rich->toPlainText();
    return widget->windowTitle();
}

QObject *find(QWidget *window, const QString &name)
{
    QObject *found = window->findChild<QObject *>(name);
    if (!found)
        qFatal("no component %s", qPrintable(name));
    return found;
}

// A dialog with one component of each kind, named as the tables name them. "Child" is a dialog
// of its own parented to it, which the sweep must leave to its own relabelling.
std::unique_ptr<QDialog> buildDialog()
{
    auto window = std::make_unique<QDialog>();
    window->setObjectName(QStringLiteral("frmtest"));
    window->setWindowTitle(QStringLiteral("Design title"));
    auto *layout = new QVBoxLayout(window.get());
    Q_UNUSED(layout);
    named<QPushButton>(window.get(), "Button1", QStringLiteral("Design button"));
    named<QLabel>(window.get(), "Label1", QStringLiteral("Design label"));
    auto *box = named<QGroupBox>(window.get(), "GroupBox1", QStringLiteral("Design box"));
    new QVBoxLayout(box);
    named<QLabel>(box, "Label2", QStringLiteral("Design nested"));
    named<QToolButton>(window.get(), "tbx", QStringLiteral("Design tool"));
    named<QPlainTextEdit>(window.get(), "mmrule", QStringLiteral("Design rule"));
    named<QTextEdit>(window.get(), "mmrich", QStringLiteral("Design rich"));
    named<QPushButton>(window.get(), "Untouched", QStringLiteral("Design untouched"));
    named<QPushButton>(window.get(), "EmptyValue", QStringLiteral("Design empty"));
    auto *tabs = named<QTabWidget>(window.get(), "PageControl1");
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    tabs->addTab(new QWidget, QStringLiteral("Design other page"));
    tabs->addTab(page, QStringLiteral("Design page"));
    auto *action = new QAction(QStringLiteral("Design action"), window.get());
    action->setObjectName(QStringLiteral("actopen"));
    auto *group = new RadioGroup(QStringLiteral("Design group"),
                                 {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, 2,
                                 window.get());
    group->setObjectName(QStringLiteral("RadioGroup1"));
    group->setItemIndex(2);
    window->layout()->addWidget(group);

    auto *child = new QDialog(window.get());
    child->setObjectName(QStringLiteral("frmchild"));
    child->setWindowTitle(QStringLiteral("Child design title"));
    auto *childLabel = new QLabel(QStringLiteral("Child design label"), child);
    childLabel->setObjectName(QStringLiteral("Label1"));
    return window;
}

// Keys of the test dialog, put into vl as a translation editor would.
void addTestKeys(TextTables &tables)
{
    tables.vl().lines() << QStringLiteral("frmtest.caption=Test dialog")
                        << QStringLiteral("frmtest.Button1.caption=&Push")
                        << QStringLiteral("frmtest.Button1.hint=Press it")
                        << QStringLiteral("FRMTEST.label1.CAPTION=Label text")
                        << QStringLiteral("frmtest.GroupBox1.caption=Box title")
                        << QStringLiteral("frmtest.Label2.caption=Nested text")
                        << QStringLiteral("frmtest.tbx.caption=Tool text")
                        << QStringLiteral("frmtest.tbx.hint=Tool hint")
                        << QStringLiteral("frmtest.mmrule.memotext=Fill in every blank once.")
                        << QStringLiteral("frmtest.mmrich.memotext=a=b, c=d")
                        << QStringLiteral("frmtest.EmptyValue.caption=")
                        << QStringLiteral("frmtest.EmptyValue.hint=")
                        << QStringLiteral("frmtest.TabSheet1.caption=Page text")
                        << QStringLiteral("frmtest.actopen.caption=Action text")
                        << QStringLiteral("frmtest.actopen.hint=Action hint")
                        << QStringLiteral("frmtest.RadioGroup1.caption=Group title")
                        << QStringLiteral("frmtest.RadioGroup1.item0=First")
                        << QStringLiteral("frmtest.RadioGroup1.item1=")
                        << QStringLiteral("frmtest.RadioGroup1.item2=Third")
                        << QStringLiteral("frmtest.RadioGroup1.item3=No such item")
                        // Keys of the wrong owner: without the prefix, or the child's own.
                        << QStringLiteral("Untouched.caption=Wrong owner")
                        << QStringLiteral("frmchild.caption=Child title")
                        << QStringLiteral("frmchild.Label1.caption=Child label");
}
} // namespace

class TestTranslate : public QObject {
    Q_OBJECT

private slots:
    void translateformSetsCaptions_data();
    void translateformSetsCaptions();
    void translateformSetsHints_data();
    void translateformSetsHints();
    void translateformSetsRadioItems();
    void translateformLeavesChildWindowsAlone();
    void translateformWithoutWindowCaptionKeepsTitle();
    void applylanguage_data();
    void applylanguage();
    void applylanguageLeavesRadioItemsAndDialogs();
    void applylanguageUnknownLangidKeepsTexts();
    void newGameDialogAfterLanguageSwitch_data();
    void newGameDialogAfterLanguageSwitch();
};

void TestTranslate::translateformSetsCaptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    QTest::newRow("push button, & kept") << "Button1"
                                         << "&Push";
    QTest::newRow("label, key case ignored") << "Label1"
                                             << "Label text";
    QTest::newRow("group box title") << "GroupBox1"
                                     << "Box title";
    QTest::newRow("label inside a group box") << "Label2"
                                              << "Nested text";
    QTest::newRow("tool button") << "tbx"
                                 << "Tool text";
    QTest::newRow("plain multi-line text") << "mmrule"
                                           << "Fill in every blank once.";
    QTest::newRow("rich multi-line text, = in value") << "mmrich"
                                                      << "a=b, c=d";
    QTest::newRow("tab page") << "TabSheet1"
                              << "Page text";
    QTest::newRow("action") << "actopen"
                            << "Action text";
    QTest::newRow("radio group title") << "RadioGroup1"
                                       << "Group title";
    QTest::newRow("no key: design text") << "Untouched"
                                         << "Design untouched";
    QTest::newRow("empty value: design text") << "EmptyValue"
                                              << "Design empty";
}

void TestTranslate::translateformSetsCaptions()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    TextTables tables;
    addTestKeys(tables);
    auto window = buildDialog();

    translateform(window.get(), tables);
    QCOMPARE(shownText(find(window.get(), name)), expected);
    QCOMPARE(window->windowTitle(), QStringLiteral("Test dialog"));
    // Unnamed tab pages are not touched.
    const auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    QCOMPARE(tabs->tabText(0), QStringLiteral("Design other page"));
}

void TestTranslate::translateformSetsHints_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hint");

    QTest::newRow("button") << "Button1"
                            << "Press it";
    QTest::newRow("tool button") << "tbx"
                                 << "Tool hint";
    QTest::newRow("action") << "actopen"
                            << "Action hint";
    QTest::newRow("no key") << "Label1"
                            << "";
    QTest::newRow("empty value keeps the design hint") << "EmptyValue"
                                                       << "Design hint";
}

void TestTranslate::translateformSetsHints()
{
    QFETCH(QString, name);
    QFETCH(QString, hint);
    TextTables tables;
    addTestKeys(tables);
    auto window = buildDialog();
    window->findChild<QWidget *>(QStringLiteral("EmptyValue"))
        ->setToolTip(QStringLiteral("Design hint"));
    window->findChild<QWidget *>(QStringLiteral("EmptyValue"))
        ->setStatusTip(QStringLiteral("Design hint"));

    translateform(window.get(), tables);
    QObject *component = find(window.get(), name);
    if (auto *action = qobject_cast<QAction *>(component)) {
        QCOMPARE(action->toolTip(), hint);
        QCOMPARE(action->statusTip(), hint);
    } else {
        auto *widget = qobject_cast<QWidget *>(component);
        QCOMPARE(widget->toolTip(), hint);
        QCOMPARE(widget->statusTip(), hint);
    }
}

void TestTranslate::translateformSetsRadioItems()
{
    TextTables tables;
    addTestKeys(tables);
    auto window = buildDialog();
    auto *group = window->findChild<RadioGroup *>(QStringLiteral("RadioGroup1"));
    QSignalSpy changes(group, &RadioGroup::itemIndexChanged);

    translateform(window.get(), tables);
    QCOMPARE(group->items(),
             QStringList({QStringLiteral("First"), QStringLiteral("b"), QStringLiteral("Third")}));
    QCOMPARE(group->count(), 3);
    QCOMPARE(group->itemIndex(), 2);
    QVERIFY(group->button(2)->isChecked());
    QCOMPARE(changes.count(), 0);
    // The item buttons are the group's own: not relabelled by any ".caption" key.
    for (int n = 0; n < group->count(); ++n)
        QVERIFY(group->button(n)->objectName().isEmpty());
}

void TestTranslate::translateformLeavesChildWindowsAlone()
{
    TextTables tables;
    addTestKeys(tables);
    auto window = buildDialog();
    auto *child = window->findChild<QDialog *>(QStringLiteral("frmchild"));
    auto *childLabel = child->findChild<QLabel *>(QStringLiteral("Label1"));

    translateform(window.get(), tables);
    QCOMPARE(childLabel->text(), QStringLiteral("Child design label"));
    QCOMPARE(child->windowTitle(), QStringLiteral("Child design title"));

    translateform(child, tables);
    QCOMPARE(childLabel->text(), QStringLiteral("Child label"));
    QCOMPARE(child->windowTitle(), QStringLiteral("Child title"));
}

void TestTranslate::translateformWithoutWindowCaptionKeepsTitle()
{
    TextTables tables;
    addTestKeys(tables);
    auto window = buildDialog();
    window->setObjectName(QStringLiteral("frmunknown"));
    translateform(window.get(), tables);
    QCOMPARE(window->windowTitle(), QStringLiteral("Design title"));
    QCOMPARE(shownText(find(window.get(), QStringLiteral("Button1"))),
             QStringLiteral("Design button"));
}

namespace {
// The main window's components named as the tables name them.
std::unique_ptr<QMainWindow> buildMainWindow()
{
    auto window = std::make_unique<QMainWindow>();
    window->setObjectName(QStringLiteral("aaForm1"));
    window->setWindowTitle(QStringLiteral("Vaskelio - Easy"));
    auto *central = new QWidget;
    new QVBoxLayout(central);
    window->setCentralWidget(central);
    named<QPushButton>(central, "btstartnewgame", QStringLiteral("Design start"));
    auto *select = named<QGroupBox>(central, "gbselectword", QStringLiteral("Design select"));
    new QVBoxLayout(select);
    named<QPushButton>(select, "but1", QStringLiteral("word one"));
    named<QPlainTextEdit>(central, "mmsudokurule", QStringLiteral("Design rule"));
    auto *group = new RadioGroup(QStringLiteral("Design group"),
                                 {QStringLiteral("x"), QStringLiteral("y")}, 1, central);
    group->setObjectName(QStringLiteral("RadioGroup1"));
    auto *toolbar = window->addToolBar(QStringLiteral("tools"));
    auto *open = new QAction(QStringLiteral("Design open"), window.get());
    open->setObjectName(QStringLiteral("tbopen"));
    toolbar->addAction(open);
    auto *dialog = new QDialog(window.get());
    dialog->setObjectName(QStringLiteral("frmnewgame"));
    dialog->setWindowTitle(QStringLiteral("Dialog design title"));
    new QVBoxLayout(dialog);
    named<QLabel>(dialog, "Label1", QStringLiteral("Dialog label"));
    return window;
}
} // namespace

void TestTranslate::applylanguage_data()
{
    QTest::addColumn<int>("langid");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("select");
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("openHint");

    QTest::newRow("English")
        << 0 << "Start New Game"
        << "Select Word"
        << "Fill in every blank with given words to only make each word in any column, row or "
           "3x3 box appear once."
        << "Open"
        << "Load Saved Game";
    QTest::newRow("Chinese")
        << 1 << "开始新游戏"
        << "选择"
        << "在每一个小九宫格中，分别填上1至9的数字，让整个大九宫格每一列、每一行的数字都不重复。"
        << "打开存档"
        << "装载存档游戏";
    QTest::newRow("Japanese") << 2 << "新しいゲーム"
                              << "数字を置く"
                              << "マスの中に入れる数字は１－９の１桁のみ、縦、横の各列および太"
                                 "線で仕切られた３＊３のブロックに同じ数字が入ってはいけない。"
                              << "ロード"
                              << "ロード";
}

void TestTranslate::applylanguage()
{
    QFETCH(int, langid);
    QFETCH(QString, start);
    QFETCH(QString, select);
    QFETCH(QString, rule);
    QFETCH(QString, open);
    QFETCH(QString, openHint);
    TextTables tables;
    auto window = buildMainWindow();

    tables.setLangid(langid);
    ::applylanguage(window.get(), tables);
    QCOMPARE(tables.vl().lines(), tables.lang(langid).lines());
    QCOMPARE(window->windowTitle(), QStringLiteral("Vaskelio"));
    QCOMPARE(shownText(find(window.get(), QStringLiteral("btstartnewgame"))), start);
    QCOMPARE(shownText(find(window.get(), QStringLiteral("gbselectword"))), select);
    QCOMPARE(shownText(find(window.get(), QStringLiteral("mmsudokurule"))), rule);
    auto *action = window->findChild<QAction *>(QStringLiteral("tbopen"));
    QCOMPARE(action->text(), open);
    QCOMPARE(action->toolTip(), openHint);
    QCOMPARE(action->statusTip(), openHint);
    // Palette words have no keys of their own.
    QCOMPARE(shownText(find(window.get(), QStringLiteral("but1"))), QStringLiteral("word one"));
}

void TestTranslate::applylanguageLeavesRadioItemsAndDialogs()
{
    TextTables tables;
    tables.lang(0).lines() << QStringLiteral("RadioGroup1.item0=Changed")
                           << QStringLiteral("RadioGroup1.caption=Main group")
                           << QStringLiteral("Label1.caption=Main window's key");
    auto window = buildMainWindow();
    ::applylanguage(window.get(), tables);
    auto *group = window->findChild<RadioGroup *>(QStringLiteral("RadioGroup1"));
    QCOMPARE(group->title(), QStringLiteral("Main group"));
    QCOMPARE(group->itemText(0), QStringLiteral("x"));
    auto *dialog = window->findChild<QDialog *>(QStringLiteral("frmnewgame"));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Dialog design title"));
    QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("Label1"))->text(),
             QStringLiteral("Dialog label"));
}

void TestTranslate::applylanguageUnknownLangidKeepsTexts()
{
    TextTables tables;
    auto window = buildMainWindow();
    tables.setLangid(1);
    ::applylanguage(window.get(), tables);
    window->setWindowTitle(QStringLiteral("Vaskelio - 入门"));

    tables.setLangid(5);
    ::applylanguage(window.get(), tables);
    QCOMPARE(tables.vl().lines(), tables.lang(1).lines());
    QCOMPARE(shownText(find(window.get(), QStringLiteral("btstartnewgame"))),
             QStringLiteral("开始新游戏"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Vaskelio"));
}

void TestTranslate::newGameDialogAfterLanguageSwitch_data()
{
    QTest::addColumn<int>("langid");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("levels");

    QTest::newRow("Chinese") << 1 << "新游戏" << QStringList{"入门", "中等", "难", "很难", "最难"};
    QTest::newRow("Japanese") << 2 << "新しいゲーム"
                              << QStringList{"初心者", "ノーマル", "難しい", "相当に難しい",
                                             "超難しい"};
    QTest::newRow("back to English")
        << 0 << "New Game" << QStringList{"Easy", "Standard", "Hard", "Expert", "Extreme"};
}

void TestTranslate::newGameDialogAfterLanguageSwitch()
{
    QFETCH(int, langid);
    QFETCH(QString, caption);
    QFETCH(QStringList, levels);
    TextTables tables;
    auto main = buildMainWindow();
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("frmnewgame"));
    auto *group = new RadioGroup(QString(), {"0", "1", "2", "3", "4"}, 1, &dialog);
    group->setObjectName(QStringLiteral("RadioGroup1"));
    group->setItemIndex(3);
    tables.setLangid(langid == 0 ? 1 : 0);
    ::applylanguage(main.get(), tables);
    translateform(&dialog, tables);

    tables.setLangid(langid);
    ::applylanguage(main.get(), tables);
    translateform(&dialog, tables);
    QCOMPARE(dialog.windowTitle(), caption);
    QCOMPARE(group->items(), levels);
    QCOMPARE(group->itemIndex(), 3);
}

VASKELIO_GUI_TEST_MAIN(TestTranslate)
#include "tst_translate.moc"
