#pragma once

#include "print/pageprinter.h"

#include <QImage>
#include <QWidget>

// Paints each page on an image instead of paper, or fails with a set message. The print
// dialog is answered by cancelDialog.
class ImagePagePrinter : public PagePrinter {
public:
    bool choosePrinterAndPrint(const QList<QWidget *> &pages, QString *error) override
    {
        ++dialogs;
        return !cancelDialog && printPages(pages, error);
    }

    bool printPages(const QList<QWidget *> &pages, QString *error) override
    {
        ++jobs;
        if (!failure.isEmpty()) {
            *error = failure;
            return false;
        }
        for (QWidget *page : pages) {
            QImage image(page->size(), QImage::Format_RGB32);
            image.fill(0x123456); // shows any pixel a page leaves unpainted
            page->render(&image);
            images.append(image);
        }
        return true;
    }

    QString failure;
    QList<QImage> images;
    int jobs = 0;
    int dialogs = 0;
    bool cancelDialog = false;
};
