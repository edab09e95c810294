#include "printer/qtpageprinter.h"

#include "appinfo.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

bool QtPagePrinter::printPages(const QList<QWidget *> &pages, QPoint offsetDots, QString *error)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        *error = QStringLiteral("There is no default printer. Install a printer or make one the "
                                "default, then print again.");
        return false;
    }
    // The pages are drawn for 300 dots per inch (2100 pixels across make a page of 7 inches):
    // one page pixel is one dot at that resolution, whatever the printer's own, so a fine
    // printer does not print them at a fraction of their size.
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setResolution(300);
    printer.setDocName(QString::fromLatin1(appinfo::kName));
    return printOn(printer, info.printerName(), pages, offsetDots, error);
}

bool QtPagePrinter::printOn(QPrinter &printer, const QString &name, const QList<QWidget *> &pages,
                            QPoint offsetDots, QString *error)
{
    // The print system can refuse a job without failing the call that handed it over; only the
    // printer's state then tells.
    const auto refused = [&printer] { return printer.printerState() == QPrinter::Error; };
    QPainter painter;
    if (!painter.begin(&printer) || refused()) {
        if (painter.isActive())
            printer.abort();
        *error = QStringLiteral("The printer \"%1\" could not start printing.").arg(name);
        return false;
    }
    for (qsizetype n = 0; n < pages.size(); ++n) {
        // A job that cannot go on is withdrawn rather than left half printed.
        if (n > 0 && (!printer.newPage() || refused())) {
            printer.abort();
            *error = QStringLiteral("The printer \"%1\" could not start a new page.").arg(name);
            return false;
        }
        pages.at(n)->render(&painter, offsetDots);
    }
    if (!painter.end() || refused()) {
        *error = QStringLiteral("The printer \"%1\" could not finish the print job.").arg(name);
        return false;
    }
    return true;
}
