#pragma once

#include "CPatternNetwork.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rowstone::tools {

// Generates the layers of a model for rows of connectLength stones. Every
// shape is a straight line of cells, stored in all four directions:
//  - layer 1: connectLength - 1 stones and one empty intersection within a
//    window of connectLength: play the empty one (win, or block a win);
//  - layer k >= 2: a window of connectLength + 1 whose two ends are empty and
//    whose inner cells hold connectLength - k stones. While the number of
//    arrangements is small every arrangement is a shape, with every inner
//    empty intersection as a move; beyond that only contiguous runs are, with
//    the intersections at either end of the run as moves. Playing a move
//    makes a shape of layer k - 1 that is open at both ends, so each layer up
//    starts its threats a stone earlier, down to a single stone in the last
//    layer; where several shapes meet, their votes add up.
// For rows of five, layer 3 instead holds the forks: two lines
// crossing at one move that makes two open threes at once (two shapes of
// the plain layer 3 played together). The plain layers 3 and 4 then share
// layer 4, so that the forks come before any quiet development of twos and
// single stones, and a network cut off below layer 4 does not develop.
class ModelBuilder {
public:
    // Rows of this length get the fork layer, as layer kForkLayer. (Longer
    // rows keep the plain ladder: their forks came out weaker in duels.)
    static constexpr int kForkConnect = 5;
    static constexpr int kForkLayer = 3;
    // One layer per stone of a row, less the winning one.
    static constexpr int kMaxLayers = 14;
    // Above this many patterns a layer keeps only its contiguous runs.
    static constexpr long long kMaxArrangedPatterns = 400;

    // The default depth for a row length: every layer down to one stone.
    static int DefaultLayers(int connectLength);

    // Fills network with the line layer and layers 1..layers; false with a
    // reason when the request is out of range.
    static bool Build(int connectLength, int layers, CPatternNetwork& network, std::string& reason);

    // Build and write the model file bytes for the given grid.
    static bool BuildFile(int connectLength, int width, int height, int layers,
                          std::vector<uint8_t>& bytes, std::string& reason);
};

} // namespace rowstone::tools
