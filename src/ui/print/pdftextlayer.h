#pragma once

#include "text/result.h"

#include <QByteArray>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

class QPaintDevice;
class QPainter;

// The characters drawn on one paint device while this lives, gathered by noteDrawnText.
class DrawnText {
    Q_DISABLE_COPY(DrawnText)

public:
    explicit DrawnText(const QPaintDevice *device);
    ~DrawnText();

    void add(const QString &text);
    const QSet<char32_t> &characters() const { return characters_; }

private:
    const QPaintDevice *device_;
    QSet<char32_t> characters_;
};

// Adds text to what is drawn on the painter's device, when something gathers it.
void noteDrawnText(const QPainter &painter, const QString &text);

// A radical or a compatibility ideograph: what a PDF's text layer shows in place of the
// ideograph drawn when the face gives both one glyph.
bool isStandInCodePoint(char32_t c);

// One ToUnicode CMap with each target that replace answers for rewritten to its answer, in
// the bfchar and bfrange forms alike; changed counts the codes rewritten. Anything it does not
// read as a CMap stays as it was.
QByteArray rewriteToUnicode(const QByteArray &cmap,
                            const std::function<std::optional<char32_t>(char32_t)> &replace,
                            int *changed);

struct TextLayerRepair {
    QByteArray pdf;
    int changed = 0; // codes whose text was rewritten
};

// The PDF with every stand-in that was not drawn itself read as the drawn character of the same
// glyph in the font's face, the cross-reference table following the bytes that moved. Fails
// without a readable cross-reference table.
Result<TextLayerRepair> repairTextLayer(const QByteArray &pdf, const QSet<char32_t> &drawn);

// The same on a file, rewritten in place when anything changed. A file that is not read as a
// PDF is left as it is; fails only when it cannot be read or written.
Status repairTextLayerFile(const QString &file, const QSet<char32_t> &drawn);
