#include "print/componentprinter.h"

#include "i18n/texttable.h"
#include "widgets/components.h"

ComponentPagePrinter::ComponentPagePrinter(const TextTables &texts) : texts_(texts) {}

ComponentPagePrinter::~ComponentPagePrinter() = default;

PagePrinter *ComponentPagePrinter::printer()
{
    if (!printer_) {
        if (auto *factory = loadcomponent<PagePrinterFactory>(QString::fromLatin1(kPrintComponent)))
            printer_ = factory->newPagePrinter();
    }
    return printer_.get();
}

Status ComponentPagePrinter::printPages(const QList<QWidget *> &pages)
{
    if (PagePrinter *loaded = printer())
        return loaded->printPages(pages);
    return failure(missingcomponent(texts_, kPrintComponent));
}

Result<PrintOutcome> ComponentPagePrinter::choosePrinterAndPrint(const QList<QWidget *> &pages)
{
    if (PagePrinter *loaded = printer())
        return loaded->choosePrinterAndPrint(pages);
    return failure(missingcomponent(texts_, kPrintComponent));
}
