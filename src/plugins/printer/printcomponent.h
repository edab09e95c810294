#pragma once

#include "print/componentprinter.h"

#include <QObject>
#include <QtPlugin>

// The print component: the printer, with Qt Print Support, loaded at the first print job.
class PrintComponent : public QObject, public PagePrinterFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID VASKELIO_PAGEPRINTER_IID)
    Q_INTERFACES(PagePrinterFactory)

public:
    std::unique_ptr<PagePrinter> newPagePrinter() override;
};
