#pragma once

#include "bankline.h"
#include "engine/gamemodel.h"
#include "engine/qj.h"

#include <QPoint>
#include <QStringList>

// A game model dealt from a bank line without the shuffle, so that a test knows every cell.
struct ModelGame {
    GameModel model;

    static WordSet englishWords()
    {
        return WordSet::fromTexts(
            QStringLiteral("Numbers"),
            {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three"),
             QStringLiteral("four"), QStringLiteral("five"), QStringLiteral("six"),
             QStringLiteral("seven"), QStringLiteral("eight"), QStringLiteral("nine")});
    }

    void deal(const WordSet &words = englishWords(), const QString &line = kEasyLine1)
    {
        TQJ puzzle;
        writeBankLine(puzzle, line);
        model.start(puzzle, 0, words);
    }

    int solution(QPoint at) const { return model.cell(at.x(), at.y()).solution; }
    int wrong(QPoint at) const { return solution(at) % 9 + 1; }
    const GameCell &at(QPoint p) const { return model.cell(p.x(), p.y()); }

    // The n-th cell to fill in reading order (row by row).
    QPoint openCell(int n = 0) const
    {
        for (int j = 1; j <= 9; ++j)
            for (int i = 1; i <= 9; ++i)
                if (!model.cell(i, j).given && n-- == 0)
                    return {i, j};
        return {};
    }
    // A cell to fill whose solution is s, skipping the first `skip` found.
    QPoint openCellWithSolution(int s, int skip = 0) const
    {
        for (int j = 1; j <= 9; ++j)
            for (int i = 1; i <= 9; ++i)
                if (!model.cell(i, j).given && model.cell(i, j).solution == s && skip-- == 0)
                    return {i, j};
        return {};
    }
    // Every cell to fill holds its solution but the one given.
    void fillAllBut(QPoint keep)
    {
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (!model.cell(i, j).given && QPoint(i, j) != keep)
                    model.setEntry(i, j, model.cell(i, j).solution);
    }
    int count(CellMark mark) const
    {
        int n = 0;
        for (const GameCell &c : model.cells())
            n += c.mark == mark ? 1 : 0;
        return n;
    }
};
