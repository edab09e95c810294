#pragma once

#include "text/result.h"

#include <QString>

#include <array>
#include <optional>

class RandomSource;

// One cell of the puzzle in play.
struct TNode {
    qint32 column = 0; // i, 1..9, counted from the left
    qint32 row = 0;    // j, 1..9, counted from the top
    qint32 value = 0;  // number 1..9 of the word that solves the cell
    bool given = false;
};

// Why a puzzle string was refused; position counts from 1.
struct ConversionError {
    int position = 0;
    QString found; // the offending character, empty when the text ended early
    QString message() const;
};
using PuzzleRead = Result<void, ConversionError>;

// The puzzle in play: 81 nodes addressed (i, j) with i the column and j the row, both 1..9.
// Puzzle strings list the cells column by column: position p is node ((p-1)/9+1, (p-1)%9+1).
class TQJ {
public:
    explicit TQJ(RandomSource &random);
    TQJ();

    TNode &node(int i, int j) { return nodes_[i - 1][j - 1]; }
    const TNode &node(int i, int j) const { return nodes_[i - 1][j - 1]; }

    // Fills the model from a bank line and shuffles it with 200 moves. A text that is not 81
    // characters of "1".."9" and "A".."I" is refused whole: the model stays as it was.
    PuzzleRead parsebank(const QString &text);

    // n random symmetry moves; reseeds the generator first, whatever n is.
    void shuffle(int n);

    int givenCount() const;
    // The model as a puzzle string (digits for given cells, letters for the others).
    QString toPuzzleString() const;

    friend bool operator==(const TQJ &a, const TQJ &b);

private:
    RandomSource *random_;
    std::array<std::array<TNode, 9>, 9> nodes_{};
};

// Checks a puzzle string without touching any model.
PuzzleRead checkPuzzleString(const QString &text);
