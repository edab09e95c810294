#pragma once

#include "print/pageprinter.h"

#include <QImage>
#include <QWidget>

// Paints each page on an image instead of paper, or fails with a set message. The print
// dialog is answered by cancelDialog.
class ImagePagePrinter : public PagePrinter {
public:
    Result<PrintOutcome> choosePrinterAndPrint(const QList<QWidget *> &pages) override
    {
        ++dialogs;
        if (cancelDialog)
            return PrintOutcome::Cancelled;
        if (const Status printed = printPages(pages); !printed)
            return ::failure(printed.error());
        return PrintOutcome::Printed;
    }

    Status printPages(const QList<QWidget *> &pages) override
    {
        ++jobs;
        if (!failure.isEmpty())
            return ::failure(failure);
        for (QWidget *page : pages) {
            QImage image(page->size(), QImage::Format_RGB32);
            image.fill(0x123456); // shows any pixel a page leaves unpainted
            page->render(&image);
            images.append(image);
        }
        return {};
    }

    QString failure;
    QList<QImage> images;
    int jobs = 0;
    int dialogs = 0;
    bool cancelDialog = false;
};
