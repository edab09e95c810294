#pragma once

#include "print/pdfbold.h"
#include "print/pdftextlayer.h"
#include "text/result.h"

#include <QBuffer>
#include <QByteArray>
#include <QList>
#include <QPainter>
#include <QPdfWriter>
#include <QString>

#include <functional>

class QWidget;

// A PDF of print pages on A4 sheets, drawn as vectors with the fonts embedded, its faked bold
// mended (pdfbold.h). It is made in memory: no file is touched until savePdf gets the finished
// bytes.
class PdfPages {
public:
    explicit PdfPages(const QString &title);

    // Starts the next sheet (the first call the first) with the painter in page pixels, content
    // fitted to the sheet's printable area.
    void nextSheet(const QRect &content);
    QPainter &painter() { return painter_; }
    // The finished document, or why it could not be made.
    Result<QByteArray> finish();

private:
    QByteArray bytes_;
    QBuffer buffer_;
    QPdfWriter writer_;
    DrawnText drawn_{&writer_};
    FakedBoldMend mend_{&writer_};
    QPainter painter_;
    int sheets_ = 0;
    bool failed_ = false;
};

// Every PDF the program writes is saved here, so that what is done to a finished document is
// done in one place. The bytes go to a temporary file in file's folder that replaces file only
// once every byte is written and the file is closed; on a failure file stays as it was and no
// temporary file is left. A device or a pipe at file cannot be replaced and is written in place.
// The error names the file and says why.
Status savePdf(const QString &file, const QByteArray &pdf);

// Draws a document with draw on a PdfPages, then saves it with savePdf.
Status writePdf(const QString &file, const QString &title,
                const std::function<Status(PdfPages &)> &draw);
// The pages into file, one a sheet, as the printer would print them.
Status writePdf(const QString &file, const QString &title, const QList<QWidget *> &pages);
