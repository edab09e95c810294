#pragma once

#include <QList>
#include <QString>

class QWidget;

// Prints widgets as the pages of one job. Behind an interface so that the program can be
// tested without a printer, and so that the print system is needed only by its implementation.
class PagePrinter {
public:
    virtual ~PagePrinter() = default;

    // Paints each widget with all it holds on a page of its own on the default printer, what it
    // holds fitted to the printable area (pagepainter.h). On failure returns false and sets
    // *error to a message for the user.
    virtual bool printPages(const QList<QWidget *> &pages, QString *error) = 0;

    // The same on the printer, copies and pages the user chooses in the print dialog. A
    // cancelled dialog returns false and leaves *error empty.
    virtual bool choosePrinterAndPrint(const QList<QWidget *> &pages, QString *error) = 0;
};
