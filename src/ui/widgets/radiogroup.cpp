#include "widgets/radiogroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

RadioGroup::RadioGroup(QWidget *parent)
    : QGroupBox(parent), group_(new QButtonGroup(this)), grid_(new QGridLayout(this))
{
    group_->setExclusive(true);
    connect(group_, &QButtonGroup::idToggled, this, &RadioGroup::onToggled);
}

RadioGroup::RadioGroup(const QString &caption, const QStringList &items, int columns,
                       QWidget *parent)
    : RadioGroup(parent)
{
    setTitle(caption);
    columns_ = qMax(1, columns);
    setItems(items);
}

QStringList RadioGroup::items() const
{
    QStringList texts;
    for (const QRadioButton *button : buttons_)
        texts.append(button->text());
    return texts;
}

void RadioGroup::setItems(const QStringList &items)
{
    const int previous = itemIndex();
    {
        // No signals for the intermediate states while the buttons are rebuilt.
        const QSignalBlocker blocker(group_);
        for (QRadioButton *button : std::as_const(buttons_)) {
            group_->removeButton(button);
            delete button;
        }
        buttons_.clear();
        for (int n = 0; n < items.size(); ++n) {
            // Left without an object name: relabelling goes through the group's ".itemN" keys.
            auto *button = new QRadioButton(items.at(n), this);
            group_->addButton(button, n);
            buttons_.append(button);
        }
        if (!buttons_.isEmpty())
            buttons_.at(previous >= 0 && previous < count() ? previous : 0)->setChecked(true);
    }
    arrange();
    if (itemIndex() != previous)
        emit itemIndexChanged(itemIndex());
}

QString RadioGroup::itemText(int n) const
{
    return n >= 0 && n < count() ? buttons_.at(n)->text() : QString();
}

void RadioGroup::setItemText(int n, const QString &text)
{
    if (n >= 0 && n < count())
        buttons_.at(n)->setText(text);
}

int RadioGroup::itemIndex() const
{
    return group_->checkedId();
}

void RadioGroup::setItemIndex(int n)
{
    if (n >= 0 && n < count())
        buttons_.at(n)->setChecked(true);
}

void RadioGroup::setColumns(int columns)
{
    columns_ = qMax(1, columns);
    arrange();
}

QRadioButton *RadioGroup::button(int n) const
{
    return n >= 0 && n < count() ? buttons_.at(n) : nullptr;
}

void RadioGroup::arrange()
{
    for (QRadioButton *button : std::as_const(buttons_))
        grid_->removeWidget(button);
    const int rows = (count() + columns_ - 1) / columns_;
    for (int n = 0; n < count(); ++n) {
        // Columns share the width evenly as the designs expect, but never so that an item's
        // text is cut: a long item (a translation) takes the room it needs from the others.
        buttons_.at(n)->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        grid_->addWidget(buttons_.at(n), n % rows, n / rows);
    }
    for (int column = 0; column < grid_->columnCount(); ++column)
        grid_->setColumnStretch(column, column < columns_ ? 1 : 0);
}

void RadioGroup::onToggled(int id, bool checked)
{
    if (checked)
        emit itemIndexChanged(id);
}
