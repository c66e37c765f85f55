#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace rowstone {

// A yes/no value for every intersection of a grid of up to kMaxSide x
// kMaxSide, kept as one bit vector per row: bit x of row y says whether
// intersection (x, y) is set. Each row is followed by zero words so that a
// row may be read shifted by up to kMaxSide - 1 columns. The grid also
// tracks which rows and columns hold any set bit. Storage is sized by
// Resize and reused; nothing else allocates.
class BitGrid {
public:
    static constexpr int kMaxSide = 255;
    static constexpr int kWordBits = 64;
    static constexpr int kMaxWords = (kMaxSide + kWordBits - 1) / kWordBits;
    // Zero words after each row and after the occupancy vectors: enough for
    // a shift by kMaxSide - 1 columns plus the neighbouring word it pulls in.
    static constexpr int kPaddingWords = kMaxWords + 1;
    // Zero rows after the last row: placements are tested a block of rows
    // at a time, and a block may reach past the last placement.
    static constexpr int kBlockRows = 4;
    // Grids up to this wide are also kept packed: row y in bits
    // kLaneBits * y .. kLaneBits * y + width - 1 of one long bit vector, so
    // that one word holds four rows.
    static constexpr int kLaneBits = 16;
    // A bit vector over the rows or the columns of a grid.
    using LineBits = std::array<uint64_t, kMaxWords + kPaddingWords>;

    // Sizes the grid for width x height and clears it; false when either
    // side is outside 1..kMaxSide.
    bool Resize(int width, int height);
    // Clears every bit, keeping the size.
    void Clear();

    void Set(int x, int y);
    void Reset(int x, int y);
    bool Test(int x, int y) const { return (Row(y)[x >> 6] >> (x & 63) & 1) != 0; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    int WordsPerRow() const { return wordsPerRow_; }
    int Stride() const { return stride_; }
    const uint64_t* Row(int y) const { return words_.data() + static_cast<size_t>(y) * stride_; }
    // The packed rows, or nullptr for grids wider than kLaneBits.
    const uint64_t* Packed() const { return packed_.empty() ? nullptr : packed_.data(); }
    // Number of set bits.
    int Count() const { return count_; }
    // Changes whenever a bit changes, so that what is derived from the
    // grid can tell it is stale.
    uint64_t Revision() const { return revision_; }
    // Bit y set when row y holds a set bit; bit x when column x does.
    const LineBits& OccupiedRows() const { return occupiedRows_; }
    const LineBits& OccupiedColumns() const { return occupiedColumns_; }
    // True when every row and every column holds a set bit, so that the
    // occupancy vectors rule out nothing.
    bool EveryLineOccupied() const {
        return occupiedRowCount_ == height_ && occupiedColumnCount_ == width_;
    }

private:
    std::vector<uint64_t> words_;
    std::vector<uint64_t> packed_;
    std::vector<uint16_t> rowCounts_;
    std::vector<uint16_t> columnCounts_;
    LineBits occupiedRows_{};
    LineBits occupiedColumns_{};
    int width_ = 0;
    int height_ = 0;
    int wordsPerRow_ = 0;
    int stride_ = 0;
    int count_ = 0;
    uint64_t revision_ = 0;
    int occupiedRowCount_ = 0;
    int occupiedColumnCount_ = 0;
};

// Bits 0..count-1 set in a vector of words, the rest clear.
template <size_t N> void SetLowBits(std::array<uint64_t, N>& bits, int count) {
    bits.fill(0);
    for (int i = 0; count > 0; ++i, count -= BitGrid::kWordBits) {
        bits[static_cast<size_t>(i)] =
            count >= BitGrid::kWordBits ? ~uint64_t{0} : (uint64_t{1} << count) - 1;
    }
}

// Word k of the bit vector at words shifted down by shift bits: bits
// 64k + shift .. 64k + shift + 63. Reads words k + shift / 64 and the one after.
inline uint64_t ShiftedWord(const uint64_t* words, int k, int shift) {
    const uint64_t* w = words + k + (shift >> 6);
    const int bit = shift & 63;
    return (w[0] >> bit) | ((w[1] << 1) << (63 - bit));
}

} // namespace rowstone
