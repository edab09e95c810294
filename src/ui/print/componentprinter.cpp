#include "print/componentprinter.h"

#include "i18n/texttable.h"
#include "widgets/components.h"

ComponentPagePrinter::ComponentPagePrinter(const TextTables &texts) : texts_(texts) {}

ComponentPagePrinter::~ComponentPagePrinter() = default;

bool ComponentPagePrinter::printPages(const QList<QWidget *> &pages, QPoint offsetDots,
                                      QString *error)
{
    if (!printer_) {
        if (auto *factory = loadcomponent<PagePrinterFactory>(QString::fromLatin1(kPrintComponent)))
            printer_ = factory->newPagePrinter();
    }
    if (!printer_) {
        *error = texts_.uitext(QStringLiteral("msgnocomponent"))
                     .arg(componentfile(QString::fromLatin1(kPrintComponent)));
        return false;
    }
    return printer_->printPages(pages, offsetDots, error);
}
