#pragma once

#include "BitGrid.h"

#include <cstdint>
#include <vector>

namespace rowstone {

// The placements (x0, y0) at which a pattern matches, one bit vector of x0
// per row y0 of a grid. Only rows marked as written count: clearing the set
// forgets the marks and leaves the words alone, so it costs nothing per row.
class PlacementSet {
public:
    bool Resize(int width, int height);
    void Clear() { writtenRows_.fill(0); }

    // Replaces row y0 by the given words (WordsPerRow of them).
    void WriteRow(int y0, const uint64_t* words);
    // Adds one placement.
    void Add(int x0, int y0);

    bool Empty() const;
    bool Contains(int x0, int y0) const;
    int WordsPerRow() const { return wordsPerRow_; }

    // Calls visit(x0, y0) for every placement in row-major order while it
    // returns true; false when a visit stopped it.
    template <typename Visit> bool ForEach(Visit visit) const {
        for (size_t i = 0; i < writtenRows_.size(); ++i) {
            for (uint64_t rows = writtenRows_[i]; rows != 0; rows &= rows - 1) {
                const int y0 = static_cast<int>(i) * BitGrid::kWordBits + __builtin_ctzll(rows);
                const uint64_t* row = Row(y0);
                for (int k = 0; k < wordsPerRow_; ++k) {
                    for (uint64_t bits = row[k]; bits != 0; bits &= bits - 1) {
                        if (!visit(k * BitGrid::kWordBits + __builtin_ctzll(bits), y0)) {
                            return false;
                        }
                    }
                }
            }
        }
        return true;
    }

private:
    const uint64_t* Row(int y0) const {
        return words_.data() + static_cast<size_t>(y0) * static_cast<size_t>(wordsPerRow_);
    }

    std::vector<uint64_t> words_;
    std::array<uint64_t, BitGrid::kMaxWords> writtenRows_{};
    int wordsPerRow_ = 0;
    int height_ = 0;
};

} // namespace rowstone
