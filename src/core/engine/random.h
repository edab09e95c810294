#pragma once

#include <QtGlobal>

#include <functional>
#include <random>

// The program's one pseudo-random generator. It is reseeded from a clock before every pick and
// every shuffle; the clock is a constructor argument so that tests can replay or count seeds.
class RandomSource {
public:
    using Clock = std::function<quint64()>;

    explicit RandomSource(Clock clock = highResolutionClock);

    // The generator that the game uses.
    static RandomSource &process();
    static quint64 highResolutionClock();
    // The clock of a source that deals one game from seed: seed, seed + 1 and seed + 2 for its
    // making, the pick and the shuffle, as seededClock gives them; the clock itself after them.
    static Clock seededDeal(quint64 seed);

    void reseed();
    // A uniform draw from 1..k; k must be at least 1.
    int draw(int k);

    int drawsSinceSeed() const { return draws_; }

private:
    Clock clock_;
    std::mt19937_64 engine_;
    int draws_ = 0;
};
