#include "print/pdfpages.h"

#include "appinfo.h"
#include "print/pagepainter.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QWidget>

PdfPages::PdfPages(const QString &file, const QString &title, QPoint offset)
    : file_(file), offset_(offset), writer_(file)
{
    writer_.setTitle(title);
    writer_.setCreator(QString::fromLatin1(appinfo::kName));
    // The offset is the margin, as on a printer's printable area.
    writer_.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, {}));
}

bool PdfPages::begin(QString *error)
{
    if (!painter_.begin(&writer_)) {
        *error = QStringLiteral("Cannot create file \"%1\".")
                     .arg(QDir::toNativeSeparators(QFileInfo(file_).absoluteFilePath()));
        return false;
    }
    mapPageToDevice(painter_, offset_);
    return true;
}

void PdfPages::newPage()
{
    writer_.newPage();
    painter_.resetTransform();
    mapPageToDevice(painter_, offset_);
}

bool PdfPages::end(QString *error)
{
    // The text layer read back as drawn: see pdftextlayer.h.
    if (!painter_.end() || !repairTextLayerFile(file_, drawn_.characters())) {
        *error = QStringLiteral("Cannot write file \"%1\".")
                     .arg(QDir::toNativeSeparators(QFileInfo(file_).absoluteFilePath()));
        return false;
    }
    return true;
}

bool writePdf(const QString &file, const QString &title, const QList<QWidget *> &pages,
              QPoint offset, QString *error)
{
    PdfPages pdf(file, title, offset);
    if (!pdf.begin(error))
        return false;
    for (qsizetype n = 0; n < pages.size(); ++n) {
        if (n > 0)
            pdf.newPage();
        paintPage(pdf.painter(), pages.at(n));
    }
    return pdf.end(error);
}
