#pragma once

#include "engine/rating.h"

#include <QPoint>
#include <QString>
#include <QVector>

class GameModel;
class TextTables;
struct WordSet;

// Why a cell must hold its word, in the terms of the rating ladder. Cells are QPoint(i, j):
// i the column, j the row, both 1..9, as on the board.
struct Explanation {
    enum class Unit { None, Row, Column, Box };
    enum class Form {
        Nothing, // every cell holds its word: no step is left
        Single,  // a naked or hidden single on the board as it is
        Pattern, // a technique above the singles removes candidates; then a single
        After,   // only once other cells are filled; technique is the hardest step on the way
        Solution // no technique short of guessing proves it: the solution says so
    };

    Form form = Form::Nothing;
    // The single that places the word (NakedSingle or HiddenSingle); for Pattern the technique
    // that removes the candidates, for After the hardest on the way, Guessing for Solution.
    sudoku::Technique technique = sudoku::Technique::None;
    // For Pattern, the single that follows.
    sudoku::Technique single = sudoku::Technique::None;
    QPoint cell;
    int word = 0;
    Unit unit = Unit::None; // the unit of a hidden single
    int unitNumber = 0;     // 1..9; boxes counted in reading order
    // The cells that prove it: those holding the other words (naked single), those holding the
    // word beside the unit (hidden single), and the cells of the technique's pattern.
    QVector<QPoint> proof;
    // For Pattern: where the technique removes candidates, and the words it removes there.
    QVector<QPoint> cleared;
    QVector<int> clearedWords;
};

// Why cell (i, j) holds its solution's word on the board as the player has it: the given words
// and the entries that are right. A wrong entry counts as empty: reasoning from it would prove
// anything, and the explanation must not lean on a word that Check Error would mark. The cell
// itself counts as empty, so that the cell Hint has just filled can be explained.
Explanation explainCell(const GameModel &model, int i, int j);
// The next step a player could take on that board, the easiest technique first; nothing is
// placed. Among steps of the same technique the first cell in reading order.
Explanation explainNext(const GameModel &model);

// The sentence of an explanation in the language in force, naming the words of the set.
QString explanationText(const Explanation &explanation, const WordSet &words,
                        const TextTables &texts);
