#pragma once

#include "PatternMask.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rowstone {

// A rectangular window of stone requirements. Plane 0 asks for a stone of
// the side being tested, plane 1 for an empty intersection, plane 2 marks
// the intersections the pattern proposes to play. Layer 0's line patterns
// have only planes 0 and 1.
class CStonePattern {
public:
    // Largest window a pattern may have in either direction: the file format
    // stores each size in one byte.
    static constexpr int kMaxSide = 255;

    int32_t width = 0;
    int32_t height = 0;
    int32_t planeCount = 0;
    int32_t threshold = 0;
    // Plane-major: plane p, row r, column c at (p * height + r) * width + c.
    std::vector<int8_t> values;
    // The required cells of planes 0 and 1 as of the last ComputeThreshold.
    PatternMask mask;

    // Replaces the values by width * height * planeCount zeros. False unless
    // all three are at least 1, their product at least 2 and neither side
    // beyond kMaxSide.
    bool Allocate(int32_t width, int32_t height, int32_t planeCount);
    void Release();

    // threshold = sum of every value of planes 0 and 1; also rebuilds mask.
    // Call it again after changing planes 0 or 1.
    void ComputeThreshold();

    int8_t& At(int plane, int row, int column) {
        return values[static_cast<size_t>((plane * height + row) * width + column)];
    }
    int8_t At(int plane, int row, int column) const {
        return values[static_cast<size_t>((plane * height + row) * width + column)];
    }
    bool Fits(int gridWidth, int gridHeight) const {
        return width >= 1 && height >= 1 && width <= gridWidth && height <= gridHeight;
    }
};

} // namespace rowstone
