#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace rowstone {

// The cells a pattern requires, in the form the bit-plane matcher reads:
// every cell of plane 0 (a stone of the tested side) and of plane 1 (an
// empty intersection) whose value is 1. The mask is exact when planes 0 and
// 1 hold nothing but 0 and 1: then a placement reaches the pattern's
// threshold exactly when every required cell is satisfied. Patterns with
// other values are matched by scoring.
//
// Small masks live inside the object, so that a scan over a layer reads
// its patterns one after the other without following pointers.
class PatternMask {
public:
    struct Cell {
        uint8_t row;
        uint8_t column;
    };
    static constexpr int kInlineCells = 24;
    // Patterns up to this size in both directions also keep the rows and
    // columns their requirements lie in as bit masks.
    static constexpr int kMaxLineMaskSide = 64;

    bool exact = true;
    bool hasLineMasks = true;
    uint16_t stoneCount = 0;
    uint16_t emptyCount = 0;
    // Number of required cells; equals the threshold of an exact pattern.
    int32_t requiredCount = 0;
    // Bit r when a requirement lies in row r, bit c when in column c.
    uint64_t stoneRows = 0;
    uint64_t stoneColumns = 0;
    uint64_t emptyRows = 0;
    uint64_t emptyColumns = 0;

    // The stone cells, then the empty cells, each row by row.
    const Cell* Stones() const {
        return heapCells_.empty() ? inlineCells_.data() : heapCells_.data();
    }
    const Cell* Empties() const { return Stones() + stoneCount; }

    // Reads planes 0 and 1 of a plane-major width x height pattern with
    // planeCount planes.
    void Compile(const int8_t* values, int width, int height, int planeCount);
    // No requirements: the mask of a pattern whose planes are all zero.
    void Clear();

    // A number that changes whenever any mask is made, compiled, cleared,
    // copied or moved, so that digests of masks can tell they are stale.
    static uint64_t Revision();

private:
    // Moves the revision on when the mask holding it is made or replaced.
    struct Stamp {
        Stamp() { Advance(); }
        Stamp(const Stamp&) { Advance(); }
        Stamp& operator=(const Stamp&) {
            Advance();
            return *this;
        }
        static void Advance();
    };

    Stamp stamp_;
    std::array<Cell, kInlineCells> inlineCells_{};
    std::vector<Cell> heapCells_;
};

} // namespace rowstone
