#pragma once

#include <QRect>
#include <QSizeF>
#include <QTransform>

class QFont;
class QPainter;
class QWidget;

// Page pixels per inch: the pages are laid out at this resolution.
constexpr int kPageDpi = 300;
// The margin of a sheet, printed or in a PDF, beyond the printer's own unprintable edge.
constexpr qreal kSheetMarginMm = 12;
// Length over width of what an A4 sheet prints inside those margins.
constexpr qreal kSheetAspect = (297 - 2 * kSheetMarginMm) / (210 - 2 * kSheetMarginMm);

// What a page shows, in its own pixels: the bounds of what it holds, or all of it when it holds
// nothing. The white around the print pages' parts is no part of them.
QRect pageContent(const QWidget *root);

// Where content (page pixels) lands on a sheet whose printable area is area (device pixels):
// one scale across and down, as wide as the area unless that would run past its foot, centred
// across and at the top.
QTransform sheetTransform(const QRect &content, const QSizeF &area);

// Maps the painter from page pixels onto the whole of its device, as sheetTransform places
// content, whatever the device's resolution.
void fitPageToDevice(QPainter &painter, const QRect &content);

// Paints root and everything it holds in root's coordinates, as lines, fills and text on the
// painter's device (no picture of the widgets), so that a printer or a PDF keeps the text as
// text at its own resolution. Point sizes are turned into page pixels at 96 per inch, as the
// widgets show them; bold words of a face without a bold weight are drawn outlined.
void paintPage(QPainter &painter, const QWidget *root);

// Whether the face the font resolves to has no bold weight, so that a bold is only faked.
bool lacksBoldWeight(const QFont &font);
