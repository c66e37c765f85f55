#include "BitGrid.h"

#include <algorithm>

namespace rowstone {

namespace {

constexpr uint64_t Bit(int i) {
    return uint64_t{1} << (i & 63);
}

} // namespace

bool BitGrid::Resize(int width, int height) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
        return false;
    }
    width_ = width;
    height_ = height;
    wordsPerRow_ = (width + kWordBits - 1) / kWordBits;
    stride_ = wordsPerRow_ + kPaddingWords;
    words_.assign(static_cast<size_t>(stride_) * static_cast<size_t>(height + kBlockRows), 0);
    if (width <= kLaneBits) {
        const int packedBits = kLaneBits * (height + kBlockRows);
        packed_.assign(
            static_cast<size_t>((packedBits + kWordBits - 1) / kWordBits + kPaddingWords), 0);
    } else {
        packed_.clear();
    }
    rowCounts_.assign(static_cast<size_t>(height), 0);
    columnCounts_.assign(static_cast<size_t>(width), 0);
    Clear();
    return true;
}

void BitGrid::Clear() {
    std::fill(words_.begin(), words_.end(), 0);
    std::fill(packed_.begin(), packed_.end(), 0);
    std::fill(rowCounts_.begin(), rowCounts_.end(), 0);
    std::fill(columnCounts_.begin(), columnCounts_.end(), 0);
    occupiedRows_.fill(0);
    occupiedColumns_.fill(0);
    count_ = 0;
    ++revision_;
    occupiedRowCount_ = 0;
    occupiedColumnCount_ = 0;
}

void BitGrid::Set(int x, int y) {
    uint64_t& word = words_[static_cast<size_t>(y) * stride_ + static_cast<size_t>(x >> 6)];
    if ((word & Bit(x)) != 0) {
        return;
    }
    word |= Bit(x);
    ++revision_;
    if (!packed_.empty()) {
        const int bit = y * kLaneBits + x;
        packed_[static_cast<size_t>(bit >> 6)] |= Bit(bit);
    }
    ++count_;
    if (rowCounts_[static_cast<size_t>(y)]++ == 0) {
        occupiedRows_[static_cast<size_t>(y >> 6)] |= Bit(y);
        ++occupiedRowCount_;
    }
    if (columnCounts_[static_cast<size_t>(x)]++ == 0) {
        occupiedColumns_[static_cast<size_t>(x >> 6)] |= Bit(x);
        ++occupiedColumnCount_;
    }
}

void BitGrid::Reset(int x, int y) {
    uint64_t& word = words_[static_cast<size_t>(y) * stride_ + static_cast<size_t>(x >> 6)];
    if ((word & Bit(x)) == 0) {
        return;
    }
    word &= ~Bit(x);
    ++revision_;
    if (!packed_.empty()) {
        const int bit = y * kLaneBits + x;
        packed_[static_cast<size_t>(bit >> 6)] &= ~Bit(bit);
    }
    --count_;
    if (--rowCounts_[static_cast<size_t>(y)] == 0) {
        occupiedRows_[static_cast<size_t>(y >> 6)] &= ~Bit(y);
        --occupiedRowCount_;
    }
    if (--columnCounts_[static_cast<size_t>(x)] == 0) {
        occupiedColumns_[static_cast<size_t>(x >> 6)] &= ~Bit(x);
        --occupiedColumnCount_;
    }
}

} // namespace rowstone
