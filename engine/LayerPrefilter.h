#pragma once

#include "CStonePattern.h"
#include "PlanePairs.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace rowstone {

// What a scan knows of one bit plane before matching: how many bits it
// holds and, when listed, which pair offsets occur on it.
struct PlaneFacts {
    // A count that rules nothing out: for planes that do not decide matches.
    static constexpr int kAnyCount = std::numeric_limits<int>::max();

    int count = kAnyCount;
    const PlanePairs* pairs = nullptr; // nullptr: every offset may occur
};

// A compact digest of the patterns of one layer: their sizes and, for each
// pattern decided by its bit planes, the number of stones and of empty
// intersections it requires and the offset between its first and last
// required cell on each plane. A scan reads the digest instead of the
// patterns to pass over those that do not fit the grid, ask for more than
// the planes hold, or need a pair of cells the planes do not have. The
// digest is rebuilt when any pattern mask has changed since it was made,
// or the layer's patterns moved.
class LayerPrefilter {
public:
    // The first index at or after from whose pattern fits a W x H grid and
    // may match planes of which the facts are known; patterns.size() when
    // there is none.
    int Next(const std::vector<CStonePattern>& patterns, int from, const PlaneFacts& stones,
             const PlaneFacts& empties, int W, int H);

private:
    struct Entry {
        uint8_t width; // 0 when the pattern fits no grid
        uint8_t height;
        uint8_t stones; // at most the number required
        uint8_t empties;
        uint16_t stonePair;
        uint16_t emptyPair;
    };

    void Refresh(const std::vector<CStonePattern>& patterns);

    std::vector<Entry> entries_;
    const CStonePattern* madeFor_ = nullptr;
    uint64_t revision_ = 0;
    int fewestStones_ = 0;
    int fewestEmpties_ = 0;
};

} // namespace rowstone
