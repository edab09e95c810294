#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

class QPainter;
class QPaintDevice;

constexpr int kCaptionFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
// Where the text of a cell or button of this size is laid out: (2, 2)-(W-4, H-4).
inline QRect captionRect(const QSize &size)
{
    return {2, 2, size.width() - 6, size.height() - 6};
}

// A caption set in the text rectangle of a cell or button: the font it is drawn in and its
// lines, broken only at spaces.
struct CaptionLayout {
    QFont font;
    QStringList lines;
    qreal lineStep = 0;    // from the top of one line to the top of the next
    qreal blockHeight = 0; // the lines one under the other
    bool fits = false;     // false only when no size down to the smallest fits
    QRectF ink;            // where the lines' ink reaches, with the spread, in the box
};

// The largest size from font's own down, a point at a time, at which every line of text
// (broken at spaces only, never inside a word) keeps its ink within the width of
// captionRect(size) and the lines keep within its height. device is where the text is drawn
// (its resolution sets the metrics); none means the screen.
CaptionLayout fitCaption(const QFont &font, const QString &text, const QSize &size,
                         const QPaintDevice *device = nullptr, qreal inkSpread = 0);

// How a bold word is drawn when its face has no bold weight.
enum class FakedBold {
    AsFont,   // as the toolkit fakes it: thick enough on the screen, all but gone on paper
    Outlined, // the regular glyphs with their outlines stroked a twentieth of the size wide
    // The font's faked bold as the painter's device writes it, for a PDF whose writer turns it
    // into the glyphs filled and stroked as wide as Outlined (see pdfbold.h): the same look in
    // a fraction of the bytes.
    ForPdf,
};

// The outline's width over the font's size.
constexpr qreal kOutlineShare = 1.0 / 20;

// Draws text the way board cells, palette buttons and the print boards show it: fitted by
// fitCaption to the painter's font, the lines centred in box, the block moved down to
// (H - B) / 2 where B is its bottom edge in captionRect, and clipped when its ink would leave
// the text rectangle. A bold font that stands for a face without a bold weight is drawn as
// bold says; the layout is that of Outlined whenever it is not AsFont.
void drawCellText(QPainter &painter, const QRect &box, const QString &text,
                  FakedBold bold = FakedBold::AsFont);

// One cell's text for drawCellTexts: its box, the text and the font it is set in.
struct CellTextJob {
    QRect box;
    QString text;
    QFont font;
    FakedBold bold = FakedBold::AsFont;
};

// Several cells' texts in the painter's pen, each as drawCellText draws it. On a PDF the glyphs
// of one face go out as one text: a few bytes a word rather than a hundred.
void drawCellTexts(QPainter &painter, const QList<CellTextJob> &jobs);
