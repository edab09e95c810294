#include "printer/qtpageprinter.h"

#include "appinfo.h"
#include "print/pagepainter.h"
#include "print/pdftextlayer.h"

#include <QApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

namespace {
// The same margins as the PDF sheets; a printer whose edge is wider keeps its own.
void setMargins(QPrinter &printer)
{
    printer.setPageMargins(
        QMarginsF(kSheetMarginMm, kSheetMarginMm, kSheetMarginMm, kSheetMarginMm),
        QPageLayout::Millimeter);
}
} // namespace

Status QtPagePrinter::printPages(const QList<QWidget *> &pages)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return failure(QStringLiteral("There is no default printer. Install a printer or make one "
                                      "the default, then print again, or right-click the Print "
                                      "button to save the pages as a PDF."));
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(appinfo::kName));
    setMargins(printer);
    return printOn(printer, info.printerName(), pages);
}

Result<PrintOutcome> QtPagePrinter::choosePrinterAndPrint(const QList<QWidget *> &pages)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(appinfo::kName));
    setMargins(printer);
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setMinMax(1, int(pages.size()));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() != QDialog::Accepted)
        return PrintOutcome::Cancelled;
    QList<QWidget *> chosen = pages;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        const int from = printer.fromPage(), to = qMax(from, printer.toPage());
        chosen = pages.mid(from - 1, to - from + 1);
    }
    if (const Status printed = printOn(printer, printer.printerName(), chosen); !printed)
        return failure(printed.error());
    return PrintOutcome::Printed;
}

Status QtPagePrinter::printOn(QPrinter &printer, const QString &name, const QList<QWidget *> &pages)
{
    // The print system can refuse a job without failing the call that handed it over; only the
    // printer's state then tells.
    const auto refused = [&printer] { return printer.printerState() == QPrinter::Error; };
    const DrawnText drawn(&printer);
    QPainter painter;
    if (!painter.begin(&printer) || refused()) {
        if (painter.isActive())
            printer.abort();
        return failure(QStringLiteral("The printer \"%1\" could not start printing.").arg(name));
    }
    for (qsizetype n = 0; n < pages.size(); ++n) {
        // A job that cannot go on is withdrawn rather than left half printed.
        if (n > 0 && (!printer.newPage() || refused())) {
            printer.abort();
            return failure(
                QStringLiteral("The printer \"%1\" could not start a new page.").arg(name));
        }
        // Drawn at the printer's own resolution, what the page holds as wide as the paper allows.
        fitPageToDevice(painter, pageContent(pages.at(n)));
        paintPage(painter, pages.at(n));
    }
    if (!painter.end() || refused()) {
        return failure(
            QStringLiteral("The printer \"%1\" could not finish the print job.").arg(name));
    }
    // Printed to a PDF file (the dialog's "Print to File"): its text reads as drawn too.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty() &&
        !repairTextLayerFile(printer.outputFileName(), drawn.characters())) {
        return failure(
            QStringLiteral("The printer \"%1\" could not finish the print job.").arg(name));
    }
    return {};
}
