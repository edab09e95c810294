#include "engine/rules.h"

#include "engine/cellboard.h"
#include "engine/prompter.h"
#include "engine/qj.h"
#include "i18n/texttable.h"

GameRules::GameRules(const TQJ &model, CellBoard &board, const QStringList &curwords,
                     const PaletteList &palette, const TextTables &texts, Prompter &prompter)
    : model_(model), board_(board), curwords_(curwords), palette_(palette), texts_(texts),
      prompter_(prompter)
{
}

void GameRules::cellmousedown(int i, int j, Qt::MouseButton button)
{
    const int w = palette_.selectedWord();
    const BoardState before = captureBoard(board_);
    if (button == Qt::LeftButton) {
        // Without a selection there is no word to place; play always starts with one.
        if (w >= 1 && w <= palette_.items.size()) {
            board_.setCellValue(i, j, w);
            board_.setCellText(i, j, palette_.items.at(w - 1));
        }
    } else if (button == Qt::RightButton) {
        board_.setCellValue(i, j, 0);
        board_.setCellText(i, j, QStringLiteral(" "));
        board_.shadeboxes();
    }
    checksolved();
    board_.fitfonts();
    highlightword(w);
    if (history_)
        history_->record(before, captureBoard(board_), w);
}

bool GameRules::issolved() const
{
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            const int s = model_.node(i, j).value;
            if (s < 1 || s > 9 || board_.cellText(i, j) != wordAt(curwords_, s))
                return false;
        }
    }
    return true;
}

bool GameRules::checksolved()
{
    const bool solved = issolved();
    if (solved)
        prompter_.inform(texts_.uitext(QStringLiteral("msgpuzzlesolved")));
    return solved;
}

bool GameRules::markerrors()
{
    bool found = false;
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            const int v = board_.cellValue(i, j);
            if (v != 0 && v != model_.node(i, j).value) {
                board_.setCellColor(i, j, boardcolor::red);
                found = true;
            }
        }
    }
    return found;
}

void GameRules::highlightword(int w)
{
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            Rgb color = inEdgeMiddleBox(i, j) ? boardcolor::lightBlue : boardcolor::white;
            if (board_.cellValue(i, j) == w && !isEmptyText(board_.cellText(i, j)))
                color = boardcolor::yellow;
            board_.setCellColor(i, j, color);
        }
    }
}

void GameRules::tbcheckerrorClick()
{
    if (!markerrors())
        prompter_.inform(texts_.uitext(QStringLiteral("msgcheckok")));
}

void GameRules::tbshowhintClick()
{
    const BoardState before = captureBoard(board_);
    bool filled = false;
    for (int j = 1; j <= 9 && !filled; ++j) {
        for (int i = 1; i <= 9 && !filled; ++i) {
            if (!isEmptyText(board_.cellText(i, j)))
                continue;
            const int s = model_.node(i, j).value;
            board_.setCellValue(i, j, s);
            board_.setCellText(i, j, wordAt(curwords_, s));
            filled = true;
        }
    }
    board_.fitfonts();
    checksolved();
    board_.shadeboxes();
    if (history_)
        history_->record(before, captureBoard(board_), palette_.selectedWord());
}

bool GameRules::tbrestartClick()
{
    if (!prompter_.confirm(texts_.uitext(QStringLiteral("msgqueryrestart"))))
        return false;
    board_.loadpuzzle(model_, curwords_);
    board_.fitfonts();
    board_.setBoardEnabled(true);
    highlightword(1);
    if (history_)
        history_->clear();
    return true;
}

bool GameRules::undo()
{
    if (!history_ || !history_->canUndo())
        return false;
    const PlayHistory::Step &step = history_->undo();
    showstep(step.before, step.word);
    return true;
}

bool GameRules::redo()
{
    if (!history_ || !history_->canRedo())
        return false;
    const PlayHistory::Step &step = history_->redo();
    showstep(step.after, step.word);
    return true;
}

void GameRules::showstep(const BoardState &state, int word)
{
    restoreBoard(board_, state);
    board_.fitfonts();
    // The kept colours mark the word selected back then; another one selected since is shown.
    if (palette_.selectedWord() != word)
        highlightword(palette_.selectedWord());
    checksolved();
}
