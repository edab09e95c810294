#pragma once

#include <QByteArray>

// The value of QT_SCALE_FACTOR that draws every window at percent of its size on top of outer,
// the factor the environment already asks for (empty when it asks for none). 100 leaves outer
// as it is, and the windows follow the screen.
QByteArray zoomedScaleFactor(int percent, const QByteArray &outer);

// Before the application object exists: the windows, their fonts and pictures scaled by percent
// through the toolkit's scale factor, which multiplies what the screen asks for.
void applyZoom(int percent);
// The environment as applyZoom found it, for a program started from this one.
void restoreScaleFactor();
