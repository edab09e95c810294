#pragma once

#include <QPoint>

class QFont;
class QPainter;
class QWidget;

// Page pixels per inch: the pages are laid out at this resolution, one pixel to one dot.
constexpr int kPageDpi = 300;

// Maps the painter from page pixels to its device, whatever the device's resolution, with the
// page's top-left corner at offset page pixels from the device's origin.
void mapPageToDevice(QPainter &painter, QPoint offset);

// Paints root and everything it holds in root's coordinates, as lines, fills and text on the
// painter's device (no picture of the widgets), so that a printer or a PDF keeps the text as
// text at its own resolution. Point sizes are turned into page pixels at 96 per inch, as the
// widgets show them; bold words of a face without a bold weight are drawn outlined.
void paintPage(QPainter &painter, const QWidget *root);

// Whether the face the font resolves to has no bold weight, so that a bold is only faked.
bool lacksBoldWeight(const QFont &font);
