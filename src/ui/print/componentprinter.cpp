#include "print/componentprinter.h"

#include "i18n/texttable.h"
#include "widgets/components.h"

ComponentPagePrinter::ComponentPagePrinter(const TextTables &texts) : texts_(texts) {}

ComponentPagePrinter::~ComponentPagePrinter() = default;

PagePrinter *ComponentPagePrinter::printer(QString *error)
{
    if (!printer_) {
        if (auto *factory = loadcomponent<PagePrinterFactory>(QString::fromLatin1(kPrintComponent)))
            printer_ = factory->newPagePrinter();
    }
    if (!printer_)
        *error = missingcomponent(texts_, kPrintComponent);
    return printer_.get();
}

bool ComponentPagePrinter::printPages(const QList<QWidget *> &pages, QString *error)
{
    PagePrinter *loaded = printer(error);
    return loaded && loaded->printPages(pages, error);
}

bool ComponentPagePrinter::choosePrinterAndPrint(const QList<QWidget *> &pages, QString *error)
{
    PagePrinter *loaded = printer(error);
    return loaded && loaded->choosePrinterAndPrint(pages, error);
}
