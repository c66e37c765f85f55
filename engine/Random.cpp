#include "Random.h"

#include <atomic>
#include <ctime>

namespace rowstone {

namespace {

// The classic linear congruential generator of the C library's rand(),
// kept as our own so every platform plays the same sequence for a seed.
std::atomic<uint32_t> randomState{1};

} // namespace

void SeedRandom(uint32_t seed) {
    randomState.store(seed, std::memory_order_relaxed);
}

void SeedRandomFromClock() {
    SeedRandom(static_cast<uint32_t>(std::time(nullptr)));
}

int NextRandom() {
    uint32_t next = randomState.load(std::memory_order_relaxed) * 214013u + 2531011u;
    randomState.store(next, std::memory_order_relaxed);
    return static_cast<int>((next >> 16) & 0x7FFFu);
}

} // namespace rowstone
