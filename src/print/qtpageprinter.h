#pragma once

#include "print/pageprinter.h"

// The system's default printer, without a dialog, at its own resolution.
class QtPagePrinter : public PagePrinter {
public:
    bool printPages(const QList<QWidget *> &pages, QPoint offsetDots, QString *error) override;
};
