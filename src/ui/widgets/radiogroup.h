#pragma once

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

// A titled group of radio items laid out in columns, filled column by column, with exactly one
// item selected whenever there are items. Relabelled by translateform through its ".itemN" keys.
class RadioGroup : public QGroupBox {
    Q_OBJECT

public:
    explicit RadioGroup(QWidget *parent = nullptr);
    RadioGroup(const QString &caption, const QStringList &items, int columns = 1,
               QWidget *parent = nullptr);

    QStringList items() const;
    // Replaces every item; the selection keeps its number when that still exists, else item 0.
    void setItems(const QStringList &items);
    int count() const { return static_cast<int>(buttons_.size()); }
    QString itemText(int n) const;
    // Changes the text only: the selection stays where it is. Out-of-range n is ignored.
    void setItemText(int n, const QString &text);

    // -1 only while there are no items.
    int itemIndex() const;
    // Out-of-range n is ignored, so the group never loses its selection.
    void setItemIndex(int n);

    int columns() const { return columns_; }
    void setColumns(int columns);

    // For tests and keyboard-free use; the item's own radio button.
    QRadioButton *button(int n) const;

signals:
    // Whenever the selected item changes, by the user or by setItemIndex/setItems.
    void itemIndexChanged(int index);

private:
    void arrange();
    void onToggled(int id, bool checked);

    QButtonGroup *group_;
    QGridLayout *grid_;
    QList<QRadioButton *> buttons_;
    int columns_ = 1;
};
