#include "print/worksheets.h"

#include "engine/bank.h"
#include "engine/classset.h"
#include "i18n/texttable.h"
#include "print/pagepainter.h"
#include "print/pdfpages.h"
#include "print/pdftextlayer.h"
#include "print/printform.h"
#include "print/printform2.h"
#include "print/printsudoku.h"

#include <QLabel>

namespace {
// Where a page's corner lands on the sheet, as the Print command puts it.
constexpr QPoint kOffset(200, 100);
// The answer key: two columns of three boards, each under its sheet's number.
constexpr qreal kAnswerScale = 0.42;
constexpr int kAnswerSide = int(1806 * kAnswerScale);
constexpr int kAnswerLeft[2] = {217, 217 + kAnswerSide + 150};
constexpr int kAnswerTop = 220, kAnswerPitch = 810, kCaption = 50;

QFont captionFont(int pixels, bool bold)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void drawCaption(QPainter &painter, const QRect &rect, const QString &text, int pixels,
                 bool bold = false, int flags = Qt::AlignLeft | Qt::AlignTop)
{
    painter.save();
    painter.setFont(captionFont(pixels, bold));
    painter.setPen(Qt::black);
    noteDrawnText(painter, text);
    painter.drawText(rect, flags, text);
    painter.restore();
}
} // namespace

bool writeWorksheets(const QString &file, const WorksheetSet &set, const TextTables &texts,
                     QString *error)
{
    RandomSource random(set.seed ? seededClock(*set.seed)
                                 : RandomSource::Clock(RandomSource::highResolutionClock));
    const Result<QList<TQJ>> puzzles =
        pickpuzzles(PuzzleBank::builtIn(), set.level, set.count, random);
    if (!puzzles) {
        *error = puzzles.error();
        return false;
    }
    Tprintform puzzlePage;
    Tprintform2 solutionPage;
    puzzlePage.translate(texts);
    solutionPage.translate(texts);
    const QString sheet = texts.uitext(QStringLiteral("worksheets.sheet"));

    PdfPages pdf(file, set.title, kOffset);
    if (!pdf.begin(error))
        return false;
    QPainter &painter = pdf.painter();
    for (qsizetype n = 0; n < puzzles->size(); ++n) {
        if (n > 0)
            pdf.newPage();
        puzzlePage.fill(puzzles->at(n), set.words, set.title, set.words);
        paintPage(painter, puzzlePage.panel());
        // Left of the name line: the number that finds the sheet's answer.
        drawCaption(painter, QRect(125, 17, 1300, 40), sheet.arg(n + 1), 27);
    }
    for (qsizetype n = 0; n < puzzles->size(); ++n) {
        const int place = int(n % kAnswersPerSheet);
        if (place == 0) {
            pdf.newPage();
            drawCaption(painter, QRect(0, 40, 2100, 130),
                        texts.uitext(QStringLiteral("worksheets.answerkey")) +
                            QStringLiteral(" – ") + set.title,
                        72, false, Qt::AlignHCenter | Qt::AlignTop);
        }
        solutionPage.fill(puzzles->at(n), set.words);
        const QPoint corner(kAnswerLeft[place % 2], kAnswerTop + kAnswerPitch * (place / 2));
        drawCaption(painter, QRect(corner, QSize(kAnswerSide, kCaption)), sheet.arg(n + 1), 36,
                    true);
        painter.save();
        painter.translate(corner + QPoint(0, kCaption));
        painter.scale(kAnswerScale, kAnswerScale);
        paintPage(painter, solutionPage.board());
        painter.restore();
    }
    return pdf.end(error);
}
