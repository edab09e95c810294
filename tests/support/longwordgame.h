#pragma once

#include <QImage>
#include <QStringList>
#include <QWidget>

// Nine words from one to eleven characters, Latin and Japanese, some with a space: the board's
// hardest case for fitting a word into its cell.
inline const QStringList &longWords()
{
    static const QStringList words{
        QStringLiteral("一"),           QStringLiteral("ねこ"),       QStringLiteral("ひこうき"),
        QStringLiteral("blackberry"),   QStringLiteral("watermelon"), QStringLiteral("pomegranate"),
        QStringLiteral("しんかんせん"), QStringLiteral("じてんしゃ"), QStringLiteral("ice cream")};
    return words;
}

// The widget as a screen of that many device pixels to the pixel draws it.
inline QImage drawnAt(QWidget *widget, qreal ratio)
{
    QImage image((QSizeF(widget->size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    widget->render(&image);
    return image;
}
