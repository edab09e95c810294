#include "print/printform2.h"

#include "print/printsudoku.h"

#include <QLabel>

Tprintform2::Tprintform2(QWidget *owner) : PrintPage(QStringLiteral("printform2"), kPanel, owner)
{
    addLabel("TntLabel1", {148, 206, 1800, 119}, 96, false, Qt::AlignHCenter | Qt::AlignTop)
        ->setText(QStringLiteral("Solution"));
    addBoard({150, 521, 1806, 1807});
    addLabel1({1694, 2337, 261, 29}, 24);
}

int Tprintform2::pointsForLength(int length)
{
    switch (length) {
    case 1:
        return 50;
    case 2:
        return 40;
    case 3:
        return 35;
    case 4:
    case 5:
        return 30;
    case 6:
    case 7:
    case 8:
        return 25;
    default:
        return 0;
    }
}

void Tprintform2::fill(const TQJ &model, const QStringList &words)
{
    board()->loadsolution(model, words);
    board()->sizefonts(&pointsForLength);
}
