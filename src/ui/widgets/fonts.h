#pragma once

#include <QFont>

// The face the windows are laid out for, at the given size.
QFont dialogFont(int points = 8);

// Maps the faces the windows ask for by name ("simkai", "Tahoma", "MS Sans Serif") to faces
// that exist on this system, so Chinese and Japanese words never show as boxes.
void installFontSubstitutes();
