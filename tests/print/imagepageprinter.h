#pragma once

#include "print/pageprinter.h"

#include <QImage>
#include <QWidget>

// Paints each page on an image instead of paper, or fails with a set message.
class ImagePagePrinter : public PagePrinter {
public:
    bool printPages(const QList<QWidget *> &pages, QPoint offsetDots, QString *error) override
    {
        ++jobs;
        offset = offsetDots;
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
    QPoint offset;
    int jobs = 0;
};
