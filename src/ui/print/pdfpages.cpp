#include "print/pdfpages.h"

#include "appinfo.h"
#include "print/pagepainter.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QSaveFile>
#include <QWidget>

namespace {
QString shownName(const QString &file)
{
    return QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
}

Failure<QString> cannot(const char *what, const QString &file, const QString &reason)
{
    return failure(QStringLiteral("Cannot %1 file \"%2\": %3.")
                       .arg(QString::fromLatin1(what), shownName(file), reason));
}

// Every byte onto an unbuffered file. A short write is followed by another, which then fails
// with the system's reason (a full disk, a file too large) rather than none.
bool writeAll(QFileDevice &out, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = out.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// Straight onto the device.
Status writeInPlace(const QString &file, const QByteArray &pdf)
{
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return cannot("create", file, out.errorString());
    if (!writeAll(out, pdf))
        return cannot("write", file, out.errorString());
    out.close();
    if (out.error() != QFileDevice::NoError)
        return cannot("write", file, out.errorString());
    return {};
}
} // namespace

PdfPages::PdfPages(const QString &title) : buffer_(&bytes_), writer_(&buffer_)
{
    // The writer expects its device open.
    buffer_.open(QIODevice::WriteOnly);
    writer_.setTitle(title);
    writer_.setCreator(QString::fromLatin1(appinfo::kName));
    writer_.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                    QMarginsF(kSheetMarginMm, kSheetMarginMm, kSheetMarginMm, kSheetMarginMm),
                    QPageLayout::Millimeter));
}

void PdfPages::nextSheet(const QRect &content)
{
    if (failed_)
        return;
    if (sheets_++ == 0) {
        failed_ = !painter_.begin(&writer_);
        if (failed_)
            return;
    } else {
        writer_.newPage();
    }
    fitPageToDevice(painter_, content);
}

Result<QByteArray> PdfPages::finish()
{
    if (sheets_ == 0)
        nextSheet(QRect(0, 0, 1, 1));
    if (failed_ || !painter_.end())
        return failure("The PDF could not be drawn.");
    // Qt's own output always has the table the mends need; without it the document is still
    // sound, only its bold is faint and its text layer may not read as drawn (pdftextlayer.h).
    Result<QByteArray> bold = mendFakedBold(bytes_);
    if (bold)
        bytes_ = std::move(*bold);
    Result<TextLayerRepair> repaired = repairTextLayer(bytes_, drawn_.characters());
    return repaired ? std::move(repaired->pdf) : bytes_;
}

Status savePdf(const QString &file, const QByteArray &pdf)
{
    const QFileInfo target(file);
    if (target.exists() && !target.isFile() && !target.isDir())
        return writeInPlace(file, pdf);
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return cannot("create", file, out.errorString());
    // An uncommitted QSaveFile removes its temporary file.
    if (!writeAll(out, pdf) || !out.commit())
        return cannot("write", file, out.errorString());
    return {};
}

Status writePdf(const QString &file, const QString &title,
                const std::function<Status(PdfPages &)> &draw)
{
    PdfPages pdf(title);
    if (Status drawn = draw(pdf); !drawn)
        return drawn;
    const Result<QByteArray> bytes = pdf.finish();
    if (!bytes)
        return failure(bytes.error());
    return savePdf(file, *bytes);
}

Status writePdf(const QString &file, const QString &title, const QList<QWidget *> &pages)
{
    return writePdf(file, title, [&pages](PdfPages &pdf) -> Status {
        for (const QWidget *page : pages) {
            pdf.nextSheet(pageContent(page));
            paintPage(pdf.painter(), page);
        }
        return {};
    });
}
