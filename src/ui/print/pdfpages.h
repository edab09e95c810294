#pragma once

#include "print/pdftextlayer.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPoint>
#include <QString>

class QWidget;

// A PDF file of print pages on A4 sheets, drawn as vectors with the fonts embedded. The painter
// works in page pixels (300 per inch) with the page's corner at offset on every sheet.
class PdfPages {
public:
    PdfPages(const QString &file, const QString &title, QPoint offset);

    // Opens the file; false with a message for the user when it cannot be written.
    bool begin(QString *error);
    QPainter &painter() { return painter_; }
    // A new sheet, the painter mapped as on the first.
    void newPage();
    // Writes the rest of the file; false with a message when that failed.
    bool end(QString *error);

private:
    QString file_;
    QPoint offset_;
    QPdfWriter writer_;
    DrawnText drawn_{&writer_};
    QPainter painter_;
};

// Writes the pages into file, one a sheet, as the printer would print them.
bool writePdf(const QString &file, const QString &title, const QList<QWidget *> &pages,
              QPoint offset, QString *error);
