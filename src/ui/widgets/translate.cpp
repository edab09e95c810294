#include "widgets/translate.h"

#include "widgets/radiogroup.h"

#include <QAbstractButton>
#include <QAction>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>

namespace {
// A page of a tab widget sits in the tab widget's internal stack.
QTabWidget *tabOwning(QWidget *page, int &index)
{
    QWidget *stack = page->parentWidget();
    auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
    index = tabs ? tabs->indexOf(page) : -1;
    return index >= 0 ? tabs : nullptr;
}

// A one-line label placed by hand grows to its text, which in another language may be wider
// or taller than the text it was laid out for.
void setLabelText(QLabel *label, const QString &text)
{
    label->setText(text);
    QWidget *parent = label->parentWidget();
    if (label->wordWrap() || (parent && parent->layout()))
        return;
    const QSize need = label->sizeHint();
    if (need.width() > label->width() || need.height() > label->height())
        label->resize(label->size().expandedTo(need));
}

// A push button keeps its size; a caption too wide for it in the window's font is drawn a point
// smaller at a time, down to 6 points, rather than cut.
void setButtonText(QPushButton *button, const QString &text)
{
    button->setText(text);
    button->setFont(QFont()); // the window's font again, as the last language may have shrunk it
    QString shown = text;
    shown.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&'));
    shown.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    const int room = button->width() - 8; // the bevel and its padding
    QFont font = button->font();
    while (QFontMetrics(font).horizontalAdvance(shown) > room && font.pointSize() > 6)
        font.setPointSize(font.pointSize() - 1);
    if (font != button->font())
        button->setFont(font);
}

void setCaption(QObject *component, const QString &text)
{
    if (auto *action = qobject_cast<QAction *>(component)) {
        action->setText(text);
        return;
    }
    auto *widget = qobject_cast<QWidget *>(component);
    if (!widget)
        return;
    int page = -1;
    if (QTabWidget *tabs = tabOwning(widget, page))
        tabs->setTabText(page, text);
    else if (auto *button = qobject_cast<QPushButton *>(widget))
        setButtonText(button, text);
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        button->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(widget))
        setLabelText(label, text);
    else if (auto *box = qobject_cast<QGroupBox *>(widget))
        box->setTitle(text);
}

void setHint(QObject *component, const QString &text)
{
    if (auto *action = qobject_cast<QAction *>(component)) {
        action->setToolTip(text);
        action->setStatusTip(text);
    } else if (auto *widget = qobject_cast<QWidget *>(component)) {
        widget->setToolTip(text);
        widget->setStatusTip(text);
    }
}

void setMemoText(QObject *component, const QString &text)
{
    // Laying a text out again is not free; at start-up it is usually the same text.
    if (auto *plain = qobject_cast<QPlainTextEdit *>(component)) {
        if (plain->toPlainText() != text)
            plain->setPlainText(text);
    } else if (auto *rich = qobject_cast<QTextEdit *>(component)) {
        if (rich->toPlainText() != text)
            rich->setPlainText(text);
    } else if (auto *label = qobject_cast<QLabel *>(component); label && label->wordWrap()) {
        label->setText(text); // a wrapped label serves as a read-only multi-line text
    }
}

bool isOwnWindow(const QObject *object)
{
    const auto *widget = qobject_cast<const QWidget *>(object);
    if (!widget)
        return false;
    // Popups (menus) and floating tool bars are windows too, but still belong to this one.
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Sheet;
}

void relabel(QObject *component, const TextTables &tables, const QString &prefix, bool withItems)
{
    const QString name = component->objectName();
    if (!name.isEmpty()) {
        const QString key = prefix + name;
        if (const QString v = tables.uitext(key + QStringLiteral(".caption")); !v.isEmpty())
            setCaption(component, v);
        if (const QString v = tables.uitext(key + QStringLiteral(".hint")); !v.isEmpty())
            setHint(component, v);
        if (const QString v = tables.uitext(key + QStringLiteral(".memotext")); !v.isEmpty())
            setMemoText(component, v);
        if (auto *group = qobject_cast<RadioGroup *>(component); group && withItems) {
            for (int n = 0; n < group->count(); ++n)
                if (const QString v = tables.uitext(key + QStringLiteral(".item%1").arg(n));
                    !v.isEmpty())
                    group->setItemText(n, v);
        }
    }
    if (qobject_cast<RadioGroup *>(component))
        return;
    // A copy: relabelling must not be disturbed should a child come or go meanwhile.
    const QObjectList children = component->children();
    for (QObject *child : children)
        if (!isOwnWindow(child))
            relabel(child, tables, prefix, withItems);
}

void relabelChildren(QWidget *window, const TextTables &tables, const QString &prefix,
                     bool withItems)
{
    const QObjectList children = window->children();
    for (QObject *child : children)
        if (!isOwnWindow(child))
            relabel(child, tables, prefix, withItems);
}
} // namespace

void applylanguage(QWidget *mainWindow, TextTables &tables)
{
    tables.selectLanguage();
    mainWindow->setWindowTitle(applicationTitle());
    relabelChildren(mainWindow, tables, QString(), false);
}

void translateform(QWidget *window, const TextTables &tables)
{
    const QString name = window->objectName();
    relabelChildren(window, tables, name + QLatin1Char('.'), true);
    if (const QString v = tables.uitext(name + QStringLiteral(".caption")); !v.isEmpty())
        window->setWindowTitle(v);
}
