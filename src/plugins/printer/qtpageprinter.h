#pragma once

#include "print/pageprinter.h"

class QPrinter;

// The system's printers: the default one without a dialog, or the one chosen in the print
// dialog. Pages are drawn as vectors at the printer's own resolution.
class QtPagePrinter : public PagePrinter {
public:
    Status printPages(const QList<QWidget *> &pages) override;
    Result<PrintOutcome> choosePrinterAndPrint(const QList<QWidget *> &pages) override;

    // The job itself, on a printer already set up; name is the printer's name for the messages.
    static Status printOn(QPrinter &printer, const QString &name, const QList<QWidget *> &pages);
};
