#pragma once

#include "BitGrid.h"

#include <array>
#include <cstdint>
#include <vector>

namespace rowstone {

// The placements (x0, y0) at which a pattern matches, one bit vector of x0
// per row y0 of a grid. Only rows written since the last Clear count:
// clearing moves on to a new generation of rows and touches no row. On
// grids of up to 16 x 16 the placements may instead be given packed, as
// the planes read at every shift hold them.
class PlacementSet {
public:
    static constexpr int kPackedWords = 4;

    bool Resize(int width, int height);
    void Clear() {
        if (++generation_ == 0) {
            ForgetGenerations();
        }
        firstRow_ = height_;
        lastRow_ = -1;
        isPacked_ = false;
    }
    // Replaces every placement by the packed ones: bit 16 y0 + x0 of words
    // for (x0, y0). For grids of at most 16 x 16.
    void AssignPacked(const uint64_t* words) {
        Clear();
        for (int k = 0; k < kPackedWords; ++k) {
            packed_[static_cast<size_t>(k)] = words[k];
        }
        isPacked_ = true;
    }

    // Replaces row y0 by the first count of the given words, the rest of
    // the row by zeros.
    void WriteRow(int y0, const uint64_t* words, int count);
    // WriteRow for grids of one word per row.
    void WriteSingleWord(int y0, uint64_t word) {
        if (isPacked_) {
            Unpack();
        }
        *Row(y0) = word;
        if (word != 0) {
            MarkWritten(y0);
        }
    }
    // Adds one placement.
    void Add(int x0, int y0);

    bool Empty() const;
    bool Contains(int x0, int y0) const;
    int WordsPerRow() const { return wordsPerRow_; }

    // Calls visit(x0, y0) for every placement in row-major order while it
    // returns true; false when a visit stopped it.
    template <typename Visit> bool ForEach(Visit visit) const {
        if (isPacked_) {
            return ForEachPacked(visit);
        }
        for (int y0 = firstRow_; y0 <= lastRow_; ++y0) {
            if (!Written(y0)) {
                continue;
            }
            const uint64_t* row = Row(y0);
            for (int k = 0; k < wordsPerRow_; ++k) {
                for (uint64_t bits = row[k]; bits != 0; bits &= bits - 1) {
                    if (!visit(k * BitGrid::kWordBits + __builtin_ctzll(bits), y0)) {
                        return false;
                    }
                }
            }
        }
        return true;
    }

private:
    template <typename Visit> bool ForEachPacked(Visit visit) const {
        for (int k = 0; k < kPackedWords; ++k) {
            for (uint64_t bits = packed_[static_cast<size_t>(k)]; bits != 0; bits &= bits - 1) {
                const int bit = k * BitGrid::kWordBits + __builtin_ctzll(bits);
                if (!visit(bit % BitGrid::kLaneBits, bit / BitGrid::kLaneBits)) {
                    return false;
                }
            }
        }
        return true;
    }
    // Turns packed placements into rows, before rows are written.
    void Unpack();

    const uint64_t* Row(int y0) const {
        return words_.data() + static_cast<size_t>(y0) * static_cast<size_t>(wordsPerRow_);
    }
    uint64_t* Row(int y0) {
        return words_.data() + static_cast<size_t>(y0) * static_cast<size_t>(wordsPerRow_);
    }
    bool Written(int y0) const { return rowGeneration_[static_cast<size_t>(y0)] == generation_; }
    void MarkWritten(int y0) {
        rowGeneration_[static_cast<size_t>(y0)] = generation_;
        firstRow_ = y0 < firstRow_ ? y0 : firstRow_;
        lastRow_ = y0 > lastRow_ ? y0 : lastRow_;
    }
    // After four billion generations the stamps start again.
    void ForgetGenerations();

    std::vector<uint64_t> words_;
    std::array<uint64_t, kPackedWords> packed_{};
    bool isPacked_ = false;
    std::vector<uint32_t> rowGeneration_;
    uint32_t generation_ = 1;
    int firstRow_ = 0;
    int lastRow_ = -1;
    int wordsPerRow_ = 0;
    int height_ = 0;
};

} // namespace rowstone
