#pragma once

#include "engine/wordset.h"

#include <QPoint>
#include <QRect>

#include <array>

class QLineEdit;
class QWidget;

// Where a dialog puts the "Title:" label, the title box w0 and the word boxes w1..w9 (87 × 21
// each, three rows of three).
struct WordBoxLayout {
    QPoint label;
    QRect title;
    std::array<int, 3> lefts;
    std::array<int, 3> tops;
};

// The read-only list shown on the right of the Word List and shared lists dialogs.
inline const WordBoxLayout kShownList{{8, 20}, {62, 16, 164, 21}, {8, 101, 194}, {50, 77, 104}};

// The label Label1 and the ten boxes w0..w9 of a word list, named as the text tables expect.
std::array<QLineEdit *, 10> addWordBoxes(QWidget *parent, const WordBoxLayout &layout,
                                         bool readOnly);

// The set the boxes hold, each text as typed.
WordSet boxedWords(const std::array<QLineEdit *, 10> &boxes);
void showWords(const std::array<QLineEdit *, 10> &boxes, const WordSet &words);
