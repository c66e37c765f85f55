#include "PackedShifts.h"

#include <algorithm>

namespace rowstone {

namespace {

constexpr int kLanes = BitGrid::kWordBits / BitGrid::kLaneBits;
constexpr uint64_t kLaneMask = (uint64_t{1} << BitGrid::kLaneBits) - 1;

} // namespace

bool PackedShifts::Ensure(const BitGrid& grid) {
    if (!Suits(grid)) {
        return false;
    }
    if (DescribesNow(grid)) {
        return true;
    }
    // The plane's words followed by zeros, so that every shift reads inside.
    std::array<uint64_t, 2 * kWords + 1> packed{};
    const int planeWords =
        (grid.Height() * BitGrid::kLaneBits + BitGrid::kWordBits - 1) / BitGrid::kWordBits;
    std::copy(grid.Packed(), grid.Packed() + planeWords, packed.begin());
    for (int shift = 0; shift < kShifts; ++shift) {
        for (int k = 0; k < kWords; ++k) {
            words_[static_cast<size_t>(shift)][static_cast<size_t>(k)] =
                ShiftedWord(packed.data(), k, shift);
        }
    }
    if (placementsWidth_ != grid.Width() || placementsHeight_ != grid.Height()) {
        ComputePlacements(grid.Width(), grid.Height());
    }
    grid_ = &grid;
    revision_ = grid.Revision();
    return true;
}

void PackedShifts::ComputePlacements(int W, int H) {
    for (int height = 1; height <= kSide; ++height) {
        for (int width = 1; width <= kSide; ++width) {
            uint64_t* words =
                placements_[static_cast<size_t>((height - 1) * kSide + width - 1)].data();
            const int columns = W - width + 1;
            const int rows = H - height + 1;
            const uint64_t lane = columns > 0 ? (uint64_t{1} << columns) - 1 : 0;
            for (int k = 0; k < kWords; ++k) {
                words[k] = 0;
                for (int j = 0; j < kLanes; ++j) {
                    if (k * kLanes + j < rows) {
                        words[k] |= lane << (j * BitGrid::kLaneBits);
                    }
                }
            }
        }
    }
    placementsWidth_ = W;
    placementsHeight_ = H;
}

} // namespace rowstone
