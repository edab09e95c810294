#pragma once

#include <QFont>
#include <QString>

// The face the windows are laid out for, at the given size: a Latin face of Tahoma's widths,
// then the CJK face of the language in force for Chinese and Japanese labels.
QFont dialogFont(int points = 8);
// The same with the Japanese or the simplified Chinese CJK face, whatever the language in force.
QFont dialogFont(int points, bool japanese);

// The Latin face of the windows and the print pages: one that this system has.
QString latinFamily();

// Maps the faces the windows ask for by name ("simkai", "Tahoma", "MS Sans Serif") to faces
// that exist on this system, so Chinese and Japanese words never show as boxes.
void installFontSubstitutes();

// The UI language (0 English, 1 Chinese, 2 Japanese) whose glyph shapes Han characters take.
void setTextLanguage(int langid);
int textLanguage();

// Whether the text holds a character of a CJK script (Han, kana, Hangul, CJK punctuation and
// full-width forms), and whether it holds kana, which only Japanese writes.
bool hasCjkText(const QString &text);
bool hasKana(const QString &text);

// The CJK face for text: Japanese shapes when the text holds kana or Japanese is in force,
// otherwise simplified Chinese. Empty when no such face is installed.
QString cjkFamily(const QString &text, bool serif = false);

// base for drawing text: a text with CJK characters gets the CJK face named outright (it holds
// Latin letters too), so that drawing it needs no search through the system's fallback faces;
// other texts keep base. A Kai face ("simkai") is kept for Chinese.
QFont fontForText(const QFont &base, const QString &text);
