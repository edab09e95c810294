#include "engine/explain.h"

#include "engine/gamemodel.h"
#include "i18n/texttable.h"

#include <QStringList>

#include <algorithm>

namespace {

using sudoku::Finding;
using sudoku::Grid;
using sudoku::LogicState;
using sudoku::Technique;
using Unit = Explanation::Unit;

// Cells are numbered row by row here, so that reading order is the numbering.
int rowOf(int p)
{
    return p / 9;
}
int columnOf(int p)
{
    return p % 9;
}
int boxOf(int p)
{
    return (p / 27) * 3 + (p % 9) / 3;
}
bool sees(int a, int b)
{
    return a != b && (rowOf(a) == rowOf(b) || columnOf(a) == columnOf(b) || boxOf(a) == boxOf(b));
}
QPoint pointOf(int p)
{
    return {columnOf(p) + 1, rowOf(p) + 1};
}
std::uint16_t bitOf(int word)
{
    return std::uint16_t(1u << (word - 1));
}
bool inUnit(int p, Unit unit, int k)
{
    return unit == Unit::Row      ? rowOf(p) == k
           : unit == Unit::Column ? columnOf(p) == k
                                  : boxOf(p) == k;
}
int unitIndex(int p, Unit unit)
{
    return unit == Unit::Row ? rowOf(p) : unit == Unit::Column ? columnOf(p) : boxOf(p);
}

void addProof(Explanation &e, int p)
{
    const QPoint at = pointOf(p);
    if (at != e.cell && !e.proof.contains(at))
        e.proof.append(at);
}

// The board the reasoning starts from: givens and right entries; skip stays empty.
Grid knownBoard(const GameModel &model, int skip)
{
    Grid grid{};
    for (int p = 0; p < 81; ++p) {
        const int i = columnOf(p) + 1, j = rowOf(p) + 1;
        const int v = model.value(i, j);
        if (p != skip && v != 0 && v == model.cell(i, j).solution)
            grid[p] = std::uint8_t(v);
    }
    return grid;
}

// A naked single of word at p: one cell per other word that sees it and holds it. A word no
// cell holds was removed by a technique, whose pattern proves it instead.
bool nakedSingle(const LogicState &state, int p, int word, Explanation &e)
{
    if (state.value(p) || state.candidates(p) != bitOf(word))
        return false;
    e.technique = Technique::NakedSingle;
    for (int other = 1; other <= 9; ++other) {
        if (other == word)
            continue;
        // The row first, then the column, then the box: the order the sentence names them.
        int found = -1;
        for (int pass = 0; pass < 3 && found < 0; ++pass) {
            for (int q = 0; q < 81 && found < 0; ++q) {
                const bool inPass = pass == 0   ? rowOf(q) == rowOf(p)
                                    : pass == 1 ? columnOf(q) == columnOf(p)
                                                : boxOf(q) == boxOf(p);
                if (q != p && inPass && state.value(q) == other)
                    found = q;
            }
        }
        if (found >= 0)
            addProof(e, found);
    }
    return true;
}

// A hidden single of word at p in one of its units. The proof covers the unit's other empty
// cells with as few cells holding the word as the greedy choice finds.
bool hiddenSingle(const LogicState &state, int p, int word, Explanation &e)
{
    if (state.value(p) || !(state.candidates(p) & bitOf(word)))
        return false;
    for (Unit unit : {Unit::Row, Unit::Column, Unit::Box}) {
        const int k = unitIndex(p, unit);
        bool alone = true;
        QVector<int> open; // the unit's other empty cells
        for (int q = 0; q < 81 && alone; ++q) {
            if (q == p || !inUnit(q, unit, k) || state.value(q))
                continue;
            alone = !(state.candidates(q) & bitOf(word));
            open.append(q);
        }
        if (!alone)
            continue;
        e.technique = Technique::HiddenSingle;
        e.unit = unit;
        e.unitNumber = k + 1;
        QVector<int> holders;
        for (int q = 0; q < 81; ++q)
            if (state.value(q) == word)
                holders.append(q);
        open.erase(std::remove_if(open.begin(), open.end(),
                                  [&](int q) {
                                      return std::none_of(holders.begin(), holders.end(),
                                                          [q](int h) { return sees(h, q); });
                                  }),
                   open.end());
        while (!open.isEmpty()) {
            int best = -1, bestCount = 0;
            for (int h : holders) {
                const int n =
                    int(std::count_if(open.begin(), open.end(), [h](int q) { return sees(h, q); }));
                if (n > bestCount) {
                    best = h;
                    bestCount = n;
                }
            }
            addProof(e, best);
            open.erase(
                std::remove_if(open.begin(), open.end(), [best](int q) { return sees(best, q); }),
                open.end());
        }
        return true;
    }
    return false;
}

bool single(const LogicState &state, int p, int word, Explanation &e)
{
    return nakedSingle(state, p, word, e) || hiddenSingle(state, p, word, e);
}

// The first single in reading order, naked before hidden, when target is -1; else one at
// target for its word.
bool findSingle(const LogicState &state, int target, int targetWord, Explanation &e)
{
    if (target >= 0) {
        e.cell = pointOf(target);
        e.word = targetWord;
        return single(state, target, targetWord, e);
    }
    for (int pass = 0; pass < 2; ++pass) {
        for (int p = 0; p < 81; ++p) {
            if (state.value(p))
                continue;
            for (int word = 1; word <= 9; ++word) {
                if (!(state.candidates(p) & bitOf(word)))
                    continue;
                e.cell = pointOf(p);
                e.word = word;
                if (pass == 0 ? nakedSingle(state, p, word, e) : hiddenSingle(state, p, word, e))
                    return true;
            }
        }
    }
    return false;
}

// The techniques above the singles, easiest first and back to the easiest after any progress,
// placing nothing, until a single shows; then the eliminations that made that single are the
// reason. The cost is the hardest technique the run needed.
bool patternStep(const Grid &board, int target, int targetWord, Explanation &e, Technique &cost)
{
    LogicState state(board);
    std::vector<Finding> findings;
    state.setFindings(&findings);
    cost = Technique::None;
    for (;;) {
        bool progress = false;
        for (int k = int(Technique::LockedCandidates); k <= int(Technique::Jellyfish); ++k) {
            if (state.apply(Technique(k))) {
                cost = std::max(cost, Technique(k));
                progress = true;
                break;
            }
        }
        if (!progress || state.broken())
            return false;
        Explanation found;
        if (!findSingle(state, target, targetWord, found))
            continue;
        const int p = (found.cell.y() - 1) * 9 + found.cell.x() - 1;
        found.single = found.technique;
        found.technique = Technique::None;
        std::uint16_t words = 0;
        for (const Finding &f : findings) {
            const bool relevant = found.single == Technique::NakedSingle
                                      ? f.cell == p
                                      : f.cell != p &&
                                            inUnit(f.cell, found.unit, found.unitNumber - 1) &&
                                            (f.removed & bitOf(found.word));
            if (!relevant)
                continue;
            found.technique = std::max(found.technique, f.technique);
            const QPoint at = pointOf(f.cell);
            if (!found.cleared.contains(at))
                found.cleared.append(at);
            words |= found.single == Technique::NakedSingle ? f.removed : bitOf(found.word);
            for (int q = 0; q < 81; ++q)
                if (f.pattern.test(std::size_t(q)))
                    addProof(found, q);
        }
        for (int word = 1; word <= 9; ++word)
            if (words & bitOf(word))
                found.clearedWords.append(word);
        found.form = Explanation::Form::Pattern;
        e = found;
        return true;
    }
}

// The whole ladder as the rater climbs it, other cells filled on the way, until target holds
// a word; the hardest technique used, or Guessing when logic stalls first.
Technique afterOthers(const Grid &board, int target)
{
    LogicState state(board);
    Technique hardest = Technique::None;
    while (!state.value(target)) {
        bool progress = false;
        for (int k = int(Technique::NakedSingle); k <= int(Technique::Jellyfish); ++k) {
            if (state.apply(Technique(k))) {
                hardest = std::max(hardest, Technique(k));
                progress = true;
                break;
            }
        }
        if (!progress || state.broken())
            return Technique::Guessing;
    }
    return hardest;
}

} // namespace

Explanation explainCell(const GameModel &model, int i, int j)
{
    Explanation e;
    if (!model.started() || i < 1 || i > 9 || j < 1 || j > 9)
        return e;
    const int p = (j - 1) * 9 + (i - 1);
    const int word = model.cell(i, j).solution;
    if (word < 1 || word > 9)
        return e;
    const Grid board = knownBoard(model, p);
    e.cell = QPoint(i, j);
    e.word = word;
    if (single(LogicState(board), p, word, e)) {
        e.form = Explanation::Form::Single;
        return e;
    }
    // Whichever proof needs the easier hardest technique; on a tie the one that fills nothing
    // else first.
    Explanation pattern;
    Technique patternCost = Technique::Guessing;
    const bool havePattern = patternStep(board, p, word, pattern, patternCost);
    const Technique afterCost = afterOthers(board, p);
    if (havePattern && patternCost <= afterCost)
        return pattern;
    e.form =
        afterCost == Technique::Guessing ? Explanation::Form::Solution : Explanation::Form::After;
    e.technique = afterCost;
    return e;
}

Explanation explainNext(const GameModel &model)
{
    Explanation e;
    if (!model.started())
        return e;
    const Grid board = knownBoard(model, -1);
    const int open = int(std::find(board.begin(), board.end(), 0) - board.begin());
    if (open == 81)
        return e;
    if (findSingle(LogicState(board), -1, 0, e)) {
        e.form = Explanation::Form::Single;
        return e;
    }
    Technique cost;
    if (patternStep(board, -1, 0, e, cost))
        return e;
    e = Explanation{};
    e.form = Explanation::Form::Solution;
    e.technique = Technique::Guessing;
    e.cell = pointOf(open);
    e.word = model.cell(e.cell.x(), e.cell.y()).solution;
    return e;
}

namespace {

// "a, b and c" in the language in force; item joins all but the last.
QString listText(const QStringList &items, const QString &item, const TextTables &texts)
{
    if (items.isEmpty())
        return {};
    QString head = items.first();
    for (int n = 1; n + 1 < items.size(); ++n)
        head = item.arg(head, items.at(n));
    return items.size() == 1
               ? head
               : texts.uitext(QStringLiteral("msgexplainlistpair")).arg(head, items.last());
}

} // namespace

QString explanationText(const Explanation &e, const WordSet &words, const TextTables &texts)
{
    using Form = Explanation::Form;
    const QString word = words.text(e.word);
    const QString row = QString::number(e.cell.y());
    const QString column = QString::number(e.cell.x());
    const QString unitNumber = QString::number(e.unitNumber);
    const auto key = [&texts](const char *name) { return texts.uitext(QLatin1String(name)); };
    const auto techniqueText = [&texts](Technique t) {
        return texts.uitext(QStringLiteral("msgtechnique%1").arg(int(t)));
    };
    // A hidden single's sentence: what comes first (the word, or the technique, the cleared
    // cells and the word), then the unit's number and the place in it. One pass of arg, so
    // that a word looking like a placeholder stays as it is.
    const auto hidden = [&](const char *rowKey, const char *columnKey, const char *boxKey,
                            QStringList args) {
        const char *name = e.unit == Explanation::Unit::Row      ? rowKey
                           : e.unit == Explanation::Unit::Column ? columnKey
                                                                 : boxKey;
        args << unitNumber;
        if (e.unit != Explanation::Unit::Column)
            args << (e.unit == Explanation::Unit::Row ? column : row);
        if (e.unit != Explanation::Unit::Row)
            args << (e.unit == Explanation::Unit::Column ? row : column);
        QString text = key(name);
        if (args.size() == 3)
            return text.arg(args[0], args[1], args[2]);
        if (args.size() == 4)
            return text.arg(args[0], args[1], args[2], args[3]);
        if (args.size() == 5)
            return text.arg(args[0], args[1], args[2], args[3], args[4]);
        return text.arg(args[0], args[1], args[2], args[3], args[4], args[5]);
    };

    switch (e.form) {
    case Form::Nothing:
        return key("msgexplaindone");
    case Form::Single:
        if (e.technique == Technique::NakedSingle)
            return key("msgexplainnaked").arg(word, row, column);
        return hidden("msgexplainhiddenrow", "msgexplainhiddencolumn", "msgexplainhiddenbox",
                      {word});
    case Form::Pattern: {
        QStringList cells, removed;
        for (const QPoint &at : e.cleared)
            cells.append(key("msgexplaincell").arg(at.y()).arg(at.x()));
        for (int k : e.clearedWords)
            removed.append(words.text(k));
        const QString where = listText(cells, key("msgexplaincells"), texts);
        const QString what = listText(removed, key("msgexplainwords"), texts);
        const QString technique = techniqueText(e.technique);
        if (e.single == Technique::NakedSingle)
            return key("msgexplainpatternnaked").arg(technique, what, row, column, word);
        return hidden("msgexplainpatternrow", "msgexplainpatterncolumn", "msgexplainpatternbox",
                      {technique, where, word});
    }
    case Form::After:
        return key("msgexplainafter").arg(word, row, column, techniqueText(e.technique));
    case Form::Solution:
        return key("msgexplainsolution").arg(word, row, column);
    }
    return {};
}
