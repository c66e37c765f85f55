#pragma once

#include "BitGrid.h"
#include "CStonePattern.h"
#include "PlanePairs.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace rowstone {

// What a scan knows of one bit plane before matching: the plane itself,
// how many bits it holds and, when listed, its pairs.
struct PlaneFacts {
    // A count that rules nothing out: for planes that do not decide matches.
    static constexpr int kAnyCount = std::numeric_limits<int>::max();

    int count = kAnyCount;
    const BitGrid* grid = nullptr;     // nullptr: the plane does not decide matches
    const PlanePairs* pairs = nullptr; // nullptr: every offset may occur
};

// A compact digest of the patterns of one layer, read by scans instead of
// the patterns themselves: each pattern's size and, for each pattern decided
// by its bit planes, its required cells, their numbers on each plane and
// the offset between the first and the last of them on each plane. A scan
// passes over the patterns that do not fit the grid, ask for more than the
// planes hold or for a pair the planes lack, and, where a plane lists a
// short run of pairs at the pattern's offset, those none of the pairs fixes
// a match for. The patterns it stops at are the only ones it touches.
//
// The digest is rebuilt when any pattern mask has changed since it was
// made, or the layer's patterns moved.
class LayerDigest {
public:
    // Longest run of pairs walked to rule a pattern out.
    static constexpr int kMaxPairWalk = 16;

    // The first index at or after from whose pattern fits a W x H grid and
    // may match planes of which the facts are known; patterns.size() when
    // there is none.
    int Next(const std::vector<CStonePattern>& patterns, int from, const PlaneFacts& stones,
             const PlaneFacts& empties, int W, int H);

private:
    struct Entry {
        uint8_t width; // 0 when the pattern fits no grid
        uint8_t height;
        uint8_t decided;
        uint8_t unused;
        uint16_t stones; // required cells on each plane
        uint16_t empties;
        uint16_t stonePair;
        uint16_t emptyPair;
        uint32_t firstCell; // in cells_: the stones, then the empties
    };

    void Refresh(const std::vector<CStonePattern>& patterns);
    bool RuledOutByPairs(const Entry& e, const PlaneFacts& stones, const PlaneFacts& empties,
                         int W, int H) const;

    std::vector<Entry> entries_;
    std::vector<PatternMask::Cell> cells_;
    const CStonePattern* madeFor_ = nullptr;
    uint64_t revision_ = 0;
    int fewestStones_ = 0;
    int fewestEmpties_ = 0;
};

} // namespace rowstone
