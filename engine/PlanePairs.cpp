#include "PlanePairs.h"

namespace rowstone {

namespace {

constexpr uint64_t kWindowBits = (uint64_t{1} << PlanePairs::kOffsetColumns) - 1;
// Within the pair's own row only bits to the right of the first cell.
constexpr uint64_t kSameRowBits = kWindowBits & ~((uint64_t{1} << PlanePairs::kReach) - 1);

// Bits x - kReach + 1 .. x + kReach - 1 of a row, as bits 0 .. kOffsetColumns - 1.
uint64_t WindowAround(const uint64_t* row, int x) {
    const int left = x - (PlanePairs::kReach - 1);
    if (left >= 0) {
        return ShiftedWord(row, 0, left) & kWindowBits;
    }
    return (row[0] << -left) & kWindowBits;
}

// Calls visit(offset, first) for every pair of set bits of grid within
// reach, first cells in row-major order; stops when visit returns false.
template <typename Visit> bool ForEachPair(const BitGrid& grid, Visit visit) {
    for (int y = 0; y < grid.Height(); ++y) {
        const uint64_t* row = grid.Row(y);
        for (int k = 0; k < grid.WordsPerRow(); ++k) {
            for (uint64_t bits = row[k]; bits != 0; bits &= bits - 1) {
                const int x = k * BitGrid::kWordBits + __builtin_ctzll(bits);
                const uint16_t first = static_cast<uint16_t>(y * 256 + x);
                for (int dr = 0; dr < PlanePairs::kReach && y + dr < grid.Height(); ++dr) {
                    uint64_t window = WindowAround(grid.Row(y + dr), x);
                    if (dr == 0) {
                        window &= kSameRowBits;
                    }
                    for (; window != 0; window &= window - 1) {
                        const int offset =
                            dr * PlanePairs::kOffsetColumns + __builtin_ctzll(window);
                        if (!visit(offset, first)) {
                            return false;
                        }
                    }
                }
            }
        }
    }
    return true;
}

} // namespace

void PlanePairs::Ensure(const BitGrid& grid) {
    if (!DescribesNow(grid)) {
        Build(grid);
        grid_ = &grid;
        revision_ = grid.Revision();
    }
}

void PlanePairs::MarkAllPresent() {
    present_.fill(~uint64_t{0});
    listed_ = false;
}

void PlanePairs::Build(const BitGrid& grid) {
    if (grid.Count() > kMaxBits || !CountPairs(grid)) {
        MarkAllPresent();
        return;
    }
    FillPairs(grid);
    listed_ = true;
}

bool PlanePairs::CountPairs(const BitGrid& grid) {
    starts_.fill(0);
    int total = 0;
    return ForEachPair(grid, [&](int offset, uint16_t) {
        ++starts_[static_cast<size_t>(offset) + 1];
        return ++total <= kMaxPairs;
    });
}

void PlanePairs::FillPairs(const BitGrid& grid) {
    present_.fill(0);
    for (int offset = 0; offset < kOffsets; ++offset) {
        if (starts_[static_cast<size_t>(offset) + 1] != 0) {
            present_[static_cast<size_t>(offset >> 6)] |= uint64_t{1} << (offset & 63);
        }
        starts_[static_cast<size_t>(offset) + 1] += starts_[static_cast<size_t>(offset)];
    }
    starts_[kOffsets + 1] = starts_[kOffsets];
    present_[kNoOffset >> 6] |= uint64_t{1} << (kNoOffset & 63);
    // Fill each offset's list from its start; the starts move on to the
    // ends, then are moved back.
    ForEachPair(grid, [&](int offset, uint16_t first) {
        firsts_[starts_[static_cast<size_t>(offset)]++] = first;
        return true;
    });
    for (int offset = kOffsets; offset > 0; --offset) {
        starts_[static_cast<size_t>(offset)] = starts_[static_cast<size_t>(offset) - 1];
    }
    starts_[0] = 0;
}

} // namespace rowstone
