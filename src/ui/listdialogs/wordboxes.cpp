#include "listdialogs/wordboxes.h"

#include <QLabel>
#include <QLineEdit>

std::array<QLineEdit *, 10> addWordBoxes(QWidget *parent, const WordBoxLayout &layout,
                                         bool readOnly)
{
    auto *label = new QLabel(QStringLiteral("Title:"), parent);
    label->setObjectName(QStringLiteral("Label1"));
    label->move(layout.label);
    std::array<QLineEdit *, 10> boxes{};
    for (int n = 0; n <= 9; ++n) {
        boxes[n] = new QLineEdit(parent);
        boxes[n]->setObjectName(QStringLiteral("w%1").arg(n));
        boxes[n]->setReadOnly(readOnly);
        boxes[n]->setGeometry(
            n == 0 ? layout.title
                   : QRect(layout.lefts[(n - 1) % 3], layout.tops[(n - 1) / 3], 87, 21));
    }
    return boxes;
}

WordSet boxedWords(const std::array<QLineEdit *, 10> &boxes)
{
    WordSet words;
    words.title = boxes[0]->text();
    for (int k = 1; k <= WordSet::kWords; ++k)
        words.setText(k, boxes[k]->text());
    return words;
}

void showWords(const std::array<QLineEdit *, 10> &boxes, const WordSet &words)
{
    boxes[0]->setText(words.title);
    for (int k = 1; k <= WordSet::kWords; ++k)
        boxes[k]->setText(words.text(k));
}
