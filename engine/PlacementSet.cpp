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
    Clear();
    return true;
}

void PlacementSet::WriteRow(int y0, const uint64_t* words) {
    uint64_t any = 0;
    uint64_t* row = words_.data() + static_cast<size_t>(y0) * static_cast<size_t>(wordsPerRow_);
    for (int k = 0; k < wordsPerRow_; ++k) {
        row[k] = words[k];
        any |= words[k];
    }
    const uint64_t mark = uint64_t{1} << (y0 & 63);
    if (any != 0) {
        writtenRows_[static_cast<size_t>(y0 >> 6)] |= mark;
    } else {
        writtenRows_[static_cast<size_t>(y0 >> 6)] &= ~mark;
    }
}

void PlacementSet::Add(int x0, int y0) {
    uint64_t* row = words_.data() + static_cast<size_t>(y0) * static_cast<size_t>(wordsPerRow_);
    const uint64_t mark = uint64_t{1} << (y0 & 63);
    if ((writtenRows_[static_cast<size_t>(y0 >> 6)] & mark) == 0) {
        std::fill(row, row + wordsPerRow_, 0);
        writtenRows_[static_cast<size_t>(y0 >> 6)] |= mark;
    }
    row[x0 >> 6] |= uint64_t{1} << (x0 & 63);
}

bool PlacementSet::Empty() const {
    for (uint64_t rows : writtenRows_) {
        if (rows != 0) {
            return false;
        }
    }
    return true;
}

bool PlacementSet::Contains(int x0, int y0) const {
    if (x0 < 0 || y0 < 0 || y0 >= height_ || x0 >= wordsPerRow_ * BitGrid::kWordBits) {
        return false;
    }
    if ((writtenRows_[static_cast<size_t>(y0 >> 6)] & (uint64_t{1} << (y0 & 63))) == 0) {
        return false;
    }
    return (Row(y0)[x0 >> 6] & (uint64_t{1} << (x0 & 63))) != 0;
}

} // namespace rowstone
