#pragma once

#include "BitGrid.h"
#include "PatternMask.h"

#include <array>
#include <cstdint>

namespace rowstone {

// The pairs of set bits of a sparse bit plane that lie close enough to be
// two cells of one pattern, listed by their offset: the second bit kReach
// rows below at most, and at most kReach - 1 columns to either side. A
// pattern with two required cells on the plane can only match where the
// plane holds a pair at their offset, so the lists answer most patterns at
// once and give the few placements left to test.
//
// Planes with more than kMaxBits bits, or more than kMaxPairs pairs, are
// not listed: then every offset counts as present.
class PlanePairs {
public:
    static constexpr int kReach = 16;
    static constexpr int kOffsetColumns = 2 * kReach - 1;
    static constexpr int kOffsets = kReach * kOffsetColumns;
    // The offset of a pair of cells too far apart, or of a pattern with
    // fewer than two cells on the plane: always present.
    static constexpr uint16_t kNoOffset = kOffsets;
    static constexpr int kMaxBits = 160;
    static constexpr int kMaxPairs = 4096;

    // The offset from cell a to cell b, b after a in row-major order.
    static uint16_t OffsetOf(PatternMask::Cell a, PatternMask::Cell b) {
        const int dr = b.row - a.row;
        const int dc = b.column - a.column;
        if (dr < 0 || dr >= kReach || dc <= -kReach || dc >= kReach || (dr == 0 && dc <= 0)) {
            return kNoOffset;
        }
        return static_cast<uint16_t>(dr * kOffsetColumns + dc + kReach - 1);
    }

    // Lists the pairs of grid, unless they are already listed for it as it
    // stands.
    void Ensure(const BitGrid& grid);
    // True when the lists describe grid as it stands.
    bool DescribesNow(const BitGrid& grid) const {
        return grid_ == &grid && revision_ == grid.Revision();
    }
    bool Listed() const { return listed_; }
    bool Has(uint16_t offset) const { return (present_[offset >> 6] >> (offset & 63) & 1) != 0; }
    // Bit o set when offset o occurs (or the plane is not listed).
    const uint64_t* PresentBits() const { return present_.data(); }

    // The first cells of the pairs at one listed offset, in row-major
    // order, each as y * 256 + x.
    const uint16_t* Begin(uint16_t offset) const { return firsts_.data() + starts_[offset]; }
    const uint16_t* End(uint16_t offset) const { return firsts_.data() + starts_[offset + 1]; }
    int Count(uint16_t offset) const {
        return static_cast<int>(starts_[offset + 1] - starts_[offset]);
    }

private:
    void Build(const BitGrid& grid);
    bool CountPairs(const BitGrid& grid);
    void FillPairs(const BitGrid& grid);
    void MarkAllPresent();

    std::array<uint64_t, kOffsets / 64 + 1> present_{};
    std::array<uint32_t, kOffsets + 2> starts_{};
    std::array<uint16_t, kMaxPairs> firsts_{};
    const BitGrid* grid_ = nullptr;
    uint64_t revision_ = 0;
    bool listed_ = false;
};

} // namespace rowstone
