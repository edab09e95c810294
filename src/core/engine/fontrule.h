#pragma once

#include <QString>

#include <cstddef>
#include <iterator>
#include <limits>

// Length in UTF-16 code units of the longest separator-delimited piece of the trimmed text.
int longestpiece(const QString &text, const QString &separator);

struct FontFit {
    int points;
    bool bold;
    friend bool operator==(FontFit a, FontFit b)
    {
        return a.points == b.points && a.bold == b.bold;
    }
};

// One row of a font table: texts longer than the row before and at most longest code units long
// get fit. Points 0 leave the cell's size as it is.
struct FontStep {
    int longest;
    FontFit fit;
};
inline constexpr int kAnyLength = std::numeric_limits<int>::max();

// A board's sizes, rows by rising length; the last row takes every longer text.
struct FontTable {
    const FontStep *steps;
    std::size_t count;
    const FontStep *begin() const { return steps; }
    const FontStep *end() const { return steps + count; }
};

// The boards differ because their cells do. The play board's cells wrap a word at its spaces,
// so its longest piece decides, and every word there is bold. The other tables give a size only
// (bold false): on their boards the weight marks the given words. The Solution window's cells
// are the play board's size but hold whole words, read rather than played. The print boards'
// cells are 190 of the page's pixels against the screen's 73, and the puzzle page's legend
// shares its board's sizes.
namespace fontsteps {
inline constexpr FontStep kPlayBoard[] = {
    {0, {14, true}}, // a blank cell keeps the size of a short word
    {1, {18, true}},
    {3, {14, true}},
    {4, {12, true}},
    {6, {10, true}},
    // Longer pieces too: at 6 points their letters stood about 7 pixels high. A piece too wide
    // for the cell at 8 is drawn smaller by the cell itself.
    {kAnyLength, {8, true}},
};
inline constexpr FontStep kSolutionWindow[] = {
    {0, {0, false}},
    {1, {20, false}},
    {3, {15, false}},
    {kAnyLength, {12, false}},
};
inline constexpr FontStep kPuzzlePage[] = {
    {0, {0, false}},  {1, {50, false}},          {2, {40, false}},
    {3, {35, false}}, {kAnyLength, {25, false}},
};
// Words of 9 or more keep the Solution window's size, which the solution filler gave them.
inline constexpr FontStep kSolutionPage[] = {
    {0, {0, false}},  {1, {50, false}}, {2, {40, false}},         {3, {35, false}},
    {5, {30, false}}, {8, {25, false}}, {kAnyLength, {0, false}},
};
} // namespace fontsteps

// The play board, by a text's longest space-separated piece.
inline constexpr FontTable kPlayBoardFonts{fontsteps::kPlayBoard, std::size(fontsteps::kPlayBoard)};
// The Solution window's board and the print board's solution, by whole word.
inline constexpr FontTable kSolutionWindowFonts{fontsteps::kSolutionWindow,
                                                std::size(fontsteps::kSolutionWindow)};
// The puzzle page's board and legend, by whole word.
inline constexpr FontTable kPuzzlePageFonts{fontsteps::kPuzzlePage,
                                            std::size(fontsteps::kPuzzlePage)};
// The solution page's board, by whole word.
inline constexpr FontTable kSolutionPageFonts{fontsteps::kSolutionPage,
                                              std::size(fontsteps::kSolutionPage)};

// The fit the table gives a text of length code units; a negative length counts as 0.
FontFit fontFor(const FontTable &table, int length);
