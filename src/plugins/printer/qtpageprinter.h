#pragma once

#include "print/pageprinter.h"

class QPrinter;

// The system's default printer, without a dialog, at its own resolution.
class QtPagePrinter : public PagePrinter {
public:
    bool printPages(const QList<QWidget *> &pages, QPoint offsetDots, QString *error) override;

    // The job itself, on a printer already set up; name is the printer's name for the messages.
    static bool printOn(QPrinter &printer, const QString &name, const QList<QWidget *> &pages,
                        QPoint offsetDots, QString *error);
};
