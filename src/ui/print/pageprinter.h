#pragma once

#include "text/result.h"

#include <QList>
#include <QString>

class QWidget;

// What became of a job the user was asked about: a cancelled print dialog is no failure.
enum class PrintOutcome { Printed, Cancelled };

// Prints widgets as the pages of one job. Behind an interface so that the program can be
// tested without a printer, and so that the print system is needed only by its implementation.
class PagePrinter {
public:
    virtual ~PagePrinter() = default;

    // Paints each widget with all it holds on a page of its own on the default printer, what it
    // holds fitted to the printable area (pagepainter.h). A failure says why, for the user.
    virtual Status printPages(const QList<QWidget *> &pages) = 0;

    // The same on the printer, copies and pages the user chooses in the print dialog, or
    // Cancelled when the user closes the dialog.
    virtual Result<PrintOutcome> choosePrinterAndPrint(const QList<QWidget *> &pages) = 0;
};
