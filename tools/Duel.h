#pragma once

#include "CPatternNetwork.h"

#include <cstdint>

namespace rowstone::tools {

struct DuelScore {
    int aWins = 0;
    int bWins = 0;
    int draws = 0;
};

// Plays games between two networks on a grid of width x height with rows
// of connectLength, A moving first in even games and B in odd ones. Each
// side uses its own layer limit; when its network finds nothing it plays
// the board's random fallback. The networks do not learn during a duel, so
// every game meets the same two opponents.
class Duel {
public:
    Duel(CPatternNetwork& a, int layersA, CPatternNetwork& b, int layersB)
        : a_(a), layersA_(layersA), b_(b), layersB_(layersB) {}

    DuelScore Play(int width, int height, int connectLength, int games, uint32_t seed);

private:
    // +1 when A won, -1 when B won, 0 for a draw.
    int PlayOneGame(int width, int height, int connectLength, bool aFirst);

    CPatternNetwork& a_;
    int layersA_;
    CPatternNetwork& b_;
    int layersB_;
};

} // namespace rowstone::tools
