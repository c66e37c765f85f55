#pragma once

#include <cstdint>

namespace rowstone {

// The process-wide pseudo-random generator of the engine: integers 0 to
// 32767. A board seeds it from the clock when it is constructed; tests and
// tools seed it explicitly to make games repeatable.
inline constexpr int kRandomMax = 32767;

void SeedRandom(uint32_t seed);
void SeedRandomFromClock();
int NextRandom();

} // namespace rowstone
