#pragma once

#include "BitGrid.h"
#include "PatternMask.h"
#include "PlacementSet.h"

#include <array>
#include <cstdint>

namespace rowstone {

// A bit plane of at most kSide x kSide, packed kLaneBits to a row, read at
// every shift a pattern cell can ask for: Word(s, k) is word k of the packed
// plane moved down by s = 16 * row + column bits. A pattern's placements
// are then the AND, over its required cells, of one four-word vector each,
// with no shifting while matching.
class PackedShifts {
public:
    static constexpr int kSide = BitGrid::kLaneBits;
    static constexpr int kWords = kSide * kSide / BitGrid::kWordBits;
    static constexpr int kShifts = kSide * kSide;
    static_assert(kWords == 4, "the matching below reads four words");

    static bool Suits(const BitGrid& grid) {
        return grid.Packed() != nullptr && grid.Height() <= kSide;
    }

    // Reads grid at every shift, unless that is already done for it as it
    // stands; false when the grid does not suit.
    bool Ensure(const BitGrid& grid);
    bool DescribesNow(const BitGrid& grid) const {
        return grid_ == &grid && revision_ == grid.Revision();
    }
    const uint64_t* At(PatternMask::Cell cell) const {
        return words_[static_cast<size_t>(cell.row * kSide + cell.column)].data();
    }
    // The placements of a pattern of width x height (both 1..kSide) on the
    // grid, packed as the plane is: lane y0 holds those of row y0.
    const uint64_t* Placements(int width, int height) const {
        return placements_[static_cast<size_t>((height - 1) * kSide + width - 1)].data();
    }

private:
    void ComputePlacements(int W, int H);

    std::array<std::array<uint64_t, kWords>, kShifts> words_{};
    std::array<std::array<uint64_t, kWords>, kShifts> placements_{};
    int placementsWidth_ = 0;
    int placementsHeight_ = 0;
    const BitGrid* grid_ = nullptr;
    uint64_t revision_ = 0;
};

// Narrows words to the placements where every one of the cells is set on
// its plane; true when one is left.
inline bool PackedSurvivors(const PatternMask::Cell* cells, int count, const PackedShifts& plane,
                            uint64_t* words) {
    uint64_t w0 = words[0];
    uint64_t w1 = words[1];
    uint64_t w2 = words[2];
    uint64_t w3 = words[3];
    for (int i = 0; i < count; ++i) {
        const uint64_t* shifted = plane.At(cells[i]);
        w0 &= shifted[0];
        w1 &= shifted[1];
        w2 &= shifted[2];
        w3 &= shifted[3];
        if ((w0 | w1 | w2 | w3) == 0) {
            return false;
        }
    }
    words[0] = w0;
    words[1] = w1;
    words[2] = w2;
    words[3] = w3;
    return true;
}

// The placements of a pattern of width x height on the plane's grid where
// both the stone cells and the empty cells are set.
inline bool PackedMatches(const PatternMask::Cell* stoneCells, int stoneCount,
                          const PackedShifts& stones, const PatternMask::Cell* emptyCells,
                          int emptyCount, const PackedShifts& empties, int width, int height,
                          uint64_t* words) {
    const uint64_t* placements = stones.Placements(width, height);
    for (int k = 0; k < PackedShifts::kWords; ++k) {
        words[k] = placements[k];
    }
    return PackedSurvivors(stoneCells, stoneCount, stones, words) &&
           PackedSurvivors(emptyCells, emptyCount, empties, words);
}

} // namespace rowstone
