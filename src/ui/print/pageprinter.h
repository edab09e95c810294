#pragma once

#include <QList>
#include <QPoint>
#include <QString>

class QWidget;

// Prints widgets as the pages of one job. Behind an interface so that the program can be
// tested without a printer.
class PagePrinter {
public:
    virtual ~PagePrinter() = default;

    // Paints each widget with all it holds on a page of its own, its top-left corner at
    // offsetDots, one widget pixel to one printer dot. On failure returns false and sets
    // *error to a message for the user.
    virtual bool printPages(const QList<QWidget *> &pages, QPoint offsetDots, QString *error) = 0;
};
