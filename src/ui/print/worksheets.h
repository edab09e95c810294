#pragma once

#include "engine/wordset.h"
#include "print/shading.h"
#include "text/result.h"

#include <QString>

#include <optional>

class TextTables;

// What a class set of worksheets holds: count different puzzles of one level with one word
// list. The same seed deals the same puzzles; without one they come from the clock.
struct WorksheetSet {
    int level = 0;
    WordSet words; // with the readings and meanings the word bank shows
    int count = 30;
    std::optional<quint64> seed;
    Shading shading = Shading::Colour;
};

// Answers on one sheet of the answer key.
constexpr int kAnswersPerSheet = 6;

// Writes a PDF of the set: a puzzle page for each worksheet, numbered, with the list's title,
// the instructions, the name line and the legend, in the language texts holds; then the
// answer key, the numbered solutions kAnswersPerSheet to a sheet. When a word of the set has a
// reading or a meaning, every sheet carries a word bank (wordbank.h). A message for the user when
// the set cannot be dealt or the file written. Needs a QApplication.
Status writeWorksheets(const QString &file, const WorksheetSet &set, const TextTables &texts);
