#include "engine/gamemodel.h"

#include "engine/qj.h"
#include "text/textrules.h"

bool inEdgeMiddleBox(int i, int j)
{
    const int stack = (i - 1) / 3, band = (j - 1) / 3;
    return (stack == 1) != (band == 1);
}

GameModel::GameModel(QObject *parent) : QObject(parent) {}

TQJ GameModel::puzzle() const
{
    TQJ puzzle;
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            TNode &node = puzzle.node(i, j);
            node.column = i;
            node.row = j;
            node.value = cell(i, j).solution;
            node.given = cell(i, j).given;
        }
    }
    return puzzle;
}

int GameModel::value(int i, int j) const
{
    const GameCell &c = cell(i, j);
    return c.given ? c.solution : c.entry;
}

QString GameModel::shown(int i, int j) const
{
    const int k = value(i, j);
    // A number outside 1..9 (a damaged saved game) shows the cell empty.
    if (k < 1 || k > WordSet::kWords)
        return QStringLiteral(" ");
    return words_.text(k);
}

bool GameModel::filled(int i, int j) const
{
    return !isEmptyText(shown(i, j));
}

bool GameModel::played() const
{
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j)
            if (!cell(i, j).given && cell(i, j).entry != 0)
                return true;
    return false;
}

void GameModel::start(const TQJ &puzzle, int level, const WordSet &words)
{
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            const TNode &node = puzzle.node(i, j);
            cells_[index(i, j)] = {node.value, node.given, 0, CellMark::Plain, 0};
        }
    }
    level_ = level;
    words_ = words;
    started_ = true;
    emit gameReplaced();
    touched();
}

void GameModel::setCurwords(const WordSet &words)
{
    words_ = words;
    emit gameReplaced();
    touched();
}

bool GameModel::setEntry(int i, int j, int entry)
{
    GameCell &c = cells_[index(i, j)];
    if (c.given || c.entry == entry)
        return false;
    c.entry = entry;
    emit cellChanged(i, j);
    touched();
    return true;
}

bool GameModel::setNotes(int i, int j, quint16 notes)
{
    GameCell &c = cells_[index(i, j)];
    notes &= 0x1FF;
    if (c.given || c.notes == notes)
        return false;
    c.notes = notes;
    emit cellChanged(i, j);
    touched();
    return true;
}

bool GameModel::sees(int ai, int aj, int bi, int bj)
{
    return ai == bi || aj == bj || ((ai - 1) / 3 == (bi - 1) / 3 && (aj - 1) / 3 == (bj - 1) / 3);
}

quint16 GameModel::candidates(int i, int j) const
{
    quint16 seen = 0;
    for (int a = 1; a <= 9; ++a)
        for (int b = 1; b <= 9; ++b)
            if ((a != i || b != j) && sees(a, b, i, j) && filled(a, b))
                if (const int k = value(a, b); k >= 1 && k <= 9)
                    seen |= quint16(1u << (k - 1));
    return quint16(~seen & 0x1FF);
}

void GameModel::setMark(int i, int j, CellMark mark)
{
    GameCell &c = cells_[index(i, j)];
    if (c.mark == mark)
        return;
    c.mark = mark;
    emit cellChanged(i, j);
}

void GameModel::touched()
{
    if (batches_ > 0)
        pending_ = true;
    else
        emit contentChanged();
}

GameModel::Batch::Batch(GameModel &model) : model_(model)
{
    ++model_.batches_;
}

GameModel::Batch::~Batch()
{
    if (--model_.batches_ == 0 && std::exchange(model_.pending_, false))
        emit model_.contentChanged();
}
