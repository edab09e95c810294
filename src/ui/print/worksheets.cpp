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
#include "print/wordbank.h"

#include <QFontMetrics>
#include <QLabel>

namespace {
// The answer key: two columns of three boards, each under its sheet's number.
constexpr qreal kAnswerScale = 0.42;
constexpr int kAnswerSide = int(1806 * kAnswerScale);
constexpr int kAnswerLeft[2] = {217, 217 + kAnswerSide + 150};
constexpr int kAnswerTop = 220, kAnswerPitch = 810, kCaption = 50;
// What an answer key's sheet shows: its heading and three rows of two boards, the same on the
// last sheet however few it holds, so that every sheet of the key has one scale.
constexpr QRect kAnswerSheet(kAnswerLeft[0], 40, kAnswerLeft[1] + kAnswerSide - kAnswerLeft[0],
                             kAnswerTop + 2 * kAnswerPitch + kCaption + kAnswerSide - 40);
// The key's word bank, under the last row of boards: the key's sheets print smaller to make
// room for it.
constexpr QPoint kAnswerBank(kAnswerLeft[0],
                             kAnswerTop + 2 * kAnswerPitch + kCaption + kAnswerSide + 40);
constexpr int kAnswerBankRoom = 160;
// The sheet's number, left of the name line.
constexpr QRect kSheetNumber(125, 17, 1300, 40);

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
    // A long title takes a smaller size rather than run off the sheet.
    QFont font = captionFont(pixels, bold);
    while (font.pixelSize() > pixels / 2 &&
           QFontMetrics(font, painter.device()).horizontalAdvance(text) > rect.width())
        font.setPixelSize(font.pixelSize() - 2);
    painter.setFont(font);
    painter.setPen(Qt::black);
    noteDrawnText(painter, text);
    painter.drawText(rect, flags, text);
    painter.restore();
}
} // namespace

Status writeWorksheets(const QString &file, const WorksheetSet &set, const TextTables &texts)
{
    RandomSource random(set.seed ? seededClock(*set.seed)
                                 : RandomSource::Clock(RandomSource::highResolutionClock));
    const Result<QList<TQJ>> puzzles =
        pickpuzzles(PuzzleBank::builtIn(), set.level, set.count, random);
    if (!puzzles)
        return failure(puzzles.error());
    Tprintform puzzlePage;
    Tprintform2 solutionPage;
    puzzlePage.translate(texts);
    solutionPage.translate(texts);
    const QString sheet = texts.uitext(QStringLiteral("worksheets.sheet"));
    WordBank answerBank;
    QRect answerSheet = kAnswerSheet;
    if (const QStringList entries = WordBank::entries(set.words); !entries.isEmpty()) {
        answerBank.arrange(entries, kAnswerSheet.width(), kAnswerBankRoom);
        answerSheet |= QRect(kAnswerBank, answerBank.size());
    }

    return writePdf(file, set.words.title, [&](PdfPages &pdf) -> Status {
        QPainter &painter = pdf.painter();
        for (qsizetype n = 0; n < puzzles->size(); ++n) {
            puzzlePage.fill(puzzles->at(n), set.words);
            puzzlePage.shade(set.shading);
            pdf.nextSheet(pageContent(puzzlePage.panel()).united(kSheetNumber));
            paintPage(painter, puzzlePage.panel());
            drawCaption(painter, kSheetNumber, sheet.arg(n + 1), 27);
        }
        for (qsizetype n = 0; n < puzzles->size(); ++n) {
            const int place = int(n % kAnswersPerSheet);
            if (place == 0) {
                pdf.nextSheet(answerSheet);
                drawCaption(
                    painter,
                    QRect(kAnswerSheet.left(), kAnswerSheet.top(), kAnswerSheet.width(), 130),
                    texts.uitext(QStringLiteral("worksheets.answerkey")) + QStringLiteral(" – ") +
                        set.words.title,
                    72, false, Qt::AlignHCenter | Qt::AlignTop);
                if (answerSheet != kAnswerSheet) {
                    painter.save();
                    painter.translate(kAnswerBank);
                    answerBank.paintOn(painter);
                    painter.restore();
                }
            }
            solutionPage.fill(puzzles->at(n), set.words.texts());
            solutionPage.board()->shade(set.shading);
            const QPoint corner(kAnswerLeft[place % 2], kAnswerTop + kAnswerPitch * (place / 2));
            drawCaption(painter, QRect(corner, QSize(kAnswerSide, kCaption)), sheet.arg(n + 1), 36,
                        true);
            painter.save();
            painter.translate(corner + QPoint(0, kCaption));
            painter.scale(kAnswerScale, kAnswerScale);
            paintPage(painter, solutionPage.board());
            painter.restore();
        }
        return {};
    });
}
