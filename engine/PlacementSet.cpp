#include "PlacementSet.h"

#include <algorithm>

namespace rowstone {

bool PlacementSet::Resize(int width, int height) {
    if (width < 1 || height < 1 || width > BitGrid::kMaxSide || height > BitGrid::kMaxSide) {
        return false;
    }
    wordsPerRow_ = (width + BitGrid::kWordBits - 1) / BitGrid::kWordBits;
    height_ = height;
    words_.assign(static_cast<size_t>(wordsPerRow_) * static_cast<size_t>(height), 0);
    rowGeneration_.assign(static_cast<size_t>(height), 0);
    generation_ = 1;
    Clear();
    return true;
}

void PlacementSet::ForgetGenerations() {
    std::fill(rowGeneration_.begin(), rowGeneration_.end(), 0);
    generation_ = 1;
}

void PlacementSet::Unpack() {
    const std::array<uint64_t, kPackedWords> packed = packed_;
    Clear();
    for (int y0 = 0; y0 < height_ && y0 < BitGrid::kLaneBits; ++y0) {
        const uint64_t row = packed[static_cast<size_t>(y0 / 4)] >> (y0 % 4 * BitGrid::kLaneBits) &
                             ((uint64_t{1} << BitGrid::kLaneBits) - 1);
        if (row != 0) {
            WriteSingleWord(y0, row);
        }
    }
}

void PlacementSet::WriteRow(int y0, const uint64_t* words, int count) {
    if (isPacked_) {
        Unpack();
    }
    uint64_t any = 0;
    uint64_t* row = Row(y0);
    for (int k = 0; k < wordsPerRow_; ++k) {
        row[k] = k < count ? words[k] : 0;
        any |= row[k];
    }
    if (any != 0) {
        MarkWritten(y0);
    } else if (Written(y0)) {
        std::fill(row, row + wordsPerRow_, 0);
    }
}

void PlacementSet::Add(int x0, int y0) {
    if (isPacked_) {
        Unpack();
    }
    uint64_t* row = Row(y0);
    if (!Written(y0)) {
        std::fill(row, row + wordsPerRow_, 0);
        MarkWritten(y0);
    }
    row[x0 >> 6] |= uint64_t{1} << (x0 & 63);
}

bool PlacementSet::Empty() const {
    return ForEach([](int, int) { return false; });
}

bool PlacementSet::Contains(int x0, int y0) const {
    if (isPacked_) {
        const int bit = y0 * BitGrid::kLaneBits + x0;
        return x0 >= 0 && x0 < BitGrid::kLaneBits && y0 >= 0 && y0 < BitGrid::kLaneBits &&
               (packed_[static_cast<size_t>(bit / 64)] >> (bit % 64) & 1) != 0;
    }
    if (x0 < 0 || y0 < 0 || y0 >= height_ || x0 >= wordsPerRow_ * BitGrid::kWordBits ||
        !Written(y0)) {
        return false;
    }
    return (Row(y0)[x0 >> 6] & (uint64_t{1} << (x0 & 63))) != 0;
}

} // namespace rowstone
