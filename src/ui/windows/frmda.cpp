#include "windows/frmda.h"

#include "board/cellboard.h"
#include "board/tntcell.h"
#include "board/tntstdsudoku.h"
#include "engine/qj.h"
#include "engine/wordset.h"
#include "print/printsudoku.h"
#include "widgets/controls.h"

#include <QPushButton>

Tfrmda::Tfrmda(LanguageContext &context, QWidget *parent)
    : DialogBase(context, parent,
                 {"frmda", QStringLiteral("Solution"), {745, 662}, true, false, false}),
      board_(new Ttntstdsudoku(this))
{
    board_->setObjectName(QStringLiteral("tntstdsudoku1"));
    board_->setGeometry(1, 3, 658, 660);
    board_->Setfixcolor(boardcolor::black);
    board_->Setbigcolor(boardcolor::blue);
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            TTntcell *cell = board_->cell(i, j);
            QFont font = cell->font();
            font.setFamily(QStringLiteral("simkai"));
            cell->setFont(font);
        }
    }
    auto *close = addButton(this, "BitBtn1", QStringLiteral("Close"), {663, 4, 75, 25});
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void Tfrmda::showsolution(const TQJ &model, const QStringList &words)
{
    // The answer page's filler; here every word keeps the board's bold and Kai face.
    fillsolution(*board_, model, words, SolutionMarks::InkOnly);
}

void Tfrmda::showsolution(const TQJ &model, const WordSet &words)
{
    showsolution(model, words.texts());
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            const int k = model.node(i, j).value;
            board_->cell(i, j)->setToolTip(
                k >= 1 && k <= WordSet::kWords ? glossLine(words.words[k - 1]) : QString());
        }
    }
}

void Tfrmda::showEvent(QShowEvent *event)
{
    // Centred on the screen rather than on the main window.
    centreOnScreen(this);
    DialogBase::showEvent(event);
}
