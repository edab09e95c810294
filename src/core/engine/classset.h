#pragma once

#include "engine/qj.h"
#include "engine/random.h"
#include "text/result.h"

#include <QList>

class PuzzleBank;

// The most puzzles one class set may hold.
constexpr int kMaxClassSetSize = 100;

// A clock for RandomSource that replays the same readings from a seed, so that the same seed
// deals the same puzzles.
RandomSource::Clock seededClock(quint64 seed);

// count different puzzles of a level for a class set, each dealt as a game is (parsed and
// shuffled) from a line drawn without replacement. Lines of the same text count once, so no two
// puzzles share a grid up to the shuffle. Fails with a message for a level outside 0..4, a count
// outside 1..kMaxClassSetSize, or more puzzles than the level has different lines.
Result<QList<TQJ>> pickpuzzles(const PuzzleBank &bank, int level, int count, RandomSource &random);
