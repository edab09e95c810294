#pragma once

#include <QString>
#include <QStringView>

// The text without the characters U+0000 to U+0020 at either end.
QStringView trimmedBlanks(QStringView text);
QStringView trimmedBlanks(QString &&) = delete; // the view would outlive the text
// A text is empty when nothing but characters up to U+0020 remains after trimming both ends.
bool isEmptyText(QStringView text);
// A word that would show nothing on a button or a cell: only characters up to U+0020, spaces of
// any kind (the ideographic space U+3000 an input method types, U+00A0) and invisible format
// characters. Stricter than isEmptyText, for words being typed in.
bool isBlankWord(QStringView text);

// A control character (U+0000..U+001F, U+007F..U+009F: tab and line ends among them) or the line
// or paragraph separator: each breaks a line of a file or a page, or shows as nothing.
bool isControlCharacter(char32_t c);
// Whether text holds one. None of them is half of a surrogate pair, so units are enough.
bool holdsControl(QStringView text);

// The value of an ASCII digit in base 10 or 16 (either case), or -1.
int digitValue(char32_t c, int base = 16);
