#include "print/wordbank.h"

#include "print/pdftextlayer.h"
#include "widgets/fonts.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kColumnGap = 60;
// Widths are measured without hinting; drawn on paper or a screen the same text may come out a
// little wider, so a line is laid out short of its column.
constexpr qreal kSlack = 0.96;

QFont bankFont(const QString &text, int pixels)
{
    QFont base(latinFamily());
    base.setPixelSize(pixels);
    return fontForText(base, text);
}

struct Broken {
    QStringList lines;
    qreal lineHeight = 0;
};

// The entry broken into lines no wider than width: at word boundaries where it can, anywhere
// in a word longer than a line.
Broken breakLines(const QString &text, const QFont &font, qreal width)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setUseDesignMetrics(true);
    layout.setTextOption(option);
    Broken broken;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        broken.lines.append(text.mid(line.textStart(), line.textLength()).trimmed());
        broken.lineHeight = std::max(broken.lineHeight, std::ceil(line.height()));
    }
    layout.endLayout();
    return broken;
}
} // namespace

WordBank::WordBank(QWidget *parent) : QWidget(parent) {}

QStringList WordBank::entries(const WordSet &words)
{
    const bool glossed = std::any_of(words.words.cbegin(), words.words.cend(), [](const Word &w) {
        return !w.reading.trimmed().isEmpty() || !w.meaning.trimmed().isEmpty();
    });
    QStringList entries;
    if (!glossed)
        return entries;
    const QString dot = QStringLiteral(" · ");
    for (const Word &word : words.words) {
        if (word.text.trimmed().isEmpty())
            continue;
        QString entry = word.text.trimmed();
        for (const QString &more : {word.reading.trimmed(), word.meaning.trimmed()})
            if (!more.isEmpty())
                entry += dot + more;
        // A meaning imported with its line breaks reads as one line of the bank.
        entries.append(entry.simplified());
    }
    return entries;
}

bool WordBank::arrange(const QStringList &entries, int width, int room)
{
    const qreal rowGap = 0.3;
    // The lines at one size in so many columns, row by row in the words' order.
    auto layOut = [&](int pixels, int columns, QList<Line> &lines) {
        lines.clear();
        const qreal column = (width - (columns - 1) * kColumnGap) / qreal(columns);
        qreal top = 0;
        for (qsizetype first = 0; first < entries.size(); first += columns) {
            qreal rowHeight = 0;
            for (qsizetype k = first; k < std::min(entries.size(), first + columns); ++k) {
                const QFont font = bankFont(entries.at(k), pixels);
                const Broken broken = breakLines(entries.at(k), font, column * kSlack);
                const qreal left = (k - first) * (column + kColumnGap);
                for (qsizetype n = 0; n < broken.lines.size(); ++n)
                    lines.append(
                        {QRectF(left, top + n * broken.lineHeight, column, broken.lineHeight),
                         broken.lines.at(n), font});
                rowHeight = std::max(rowHeight, broken.lines.size() * broken.lineHeight);
            }
            top += rowHeight + rowGap * pixels;
        }
        return int(std::ceil(top - rowGap * pixels));
    };

    QList<Line> best;
    int bestHeight = -1;
    bool fits = false;
    for (int pixels = kLargest; pixels >= kSmallest && !fits; pixels -= 2) {
        for (int columns = 3; columns >= 1; --columns) {
            QList<Line> lines;
            const int height = layOut(pixels, columns, lines);
            fits = height <= room;
            // Should nothing fit, the shortest layout at the smallest size takes more room.
            if (fits || (pixels == kSmallest && (bestHeight < 0 || height < bestHeight))) {
                best = std::move(lines);
                bestHeight = height;
            }
            if (fits)
                break;
        }
    }
    lines_ = std::move(best);
    resize(width, std::max(bestHeight, 1));
    update();
    return fits;
}

void WordBank::paintOn(QPainter &painter) const
{
    painter.save();
    painter.setPen(Qt::black);
    for (const Line &line : lines_) {
        painter.setFont(line.font);
        noteDrawnText(painter, line.text);
        painter.drawText(line.rect, Qt::AlignLeft | Qt::AlignTop, line.text);
    }
    painter.restore();
}

void WordBank::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintOn(painter);
}
