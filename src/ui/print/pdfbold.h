#pragma once

#include "text/result.h"

#include <QByteArray>

class QPaintDevice;

// While one lives, what is drawn on its device goes into a PDF that mendFakedBold mends: the
// print pages draw the bold words of a face without a bold weight there as FakedBold::ForPdf.
class FakedBoldMend {
    Q_DISABLE_COPY(FakedBoldMend)

public:
    explicit FakedBoldMend(const QPaintDevice *device);
    ~FakedBoldMend();

    static bool on(const QPaintDevice *device);

private:
    const QPaintDevice *device_;
};

// QPdfWriter fakes the bold of a face that has none by filling the glyphs a second time a
// fraction of a line to the side, a bold that all but vanishes on paper. In every page of pdf,
// each such text is instead filled and stroked once, in its colour, with a stroke as wide as
// kOutlineShare of its size and round joins: the glyphs grow by half that on every side, as
// FakedBold::Outlined draws them. mended counts the texts. Fails without a readable
// cross-reference table; a page it does not read as QPdfWriter's stays as it was.
Result<QByteArray> mendFakedBold(const QByteArray &pdf, int *mended = nullptr);

// The same on one page's content stream, uncompressed.
QByteArray mendFakedBoldContent(const QByteArray &content, int *mended = nullptr);
