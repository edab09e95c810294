#include "engine/random.h"

#include <chrono>

namespace {
// Clock readings a few ticks apart must still give unrelated streams.
quint64 splitmix64(quint64 x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}
} // namespace

RandomSource::RandomSource(Clock clock) : clock_(std::move(clock))
{
    reseed();
}

RandomSource &RandomSource::process()
{
    static RandomSource source;
    return source;
}

RandomSource::Clock RandomSource::seededDeal(quint64 seed)
{
    return [seed, reads = 0]() mutable {
        return reads < 3 ? seed + quint64(reads++) : highResolutionClock();
    };
}

quint64 RandomSource::highResolutionClock()
{
    return static_cast<quint64>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

void RandomSource::reseed()
{
    engine_.seed(splitmix64(clock_()));
    draws_ = 0;
}

int RandomSource::draw(int k)
{
    Q_ASSERT(k >= 1);
    ++draws_;
    return std::uniform_int_distribution<int>(1, k)(engine_);
}
