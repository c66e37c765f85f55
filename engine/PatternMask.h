#pragma once

#include <cstdint>
#include <vector>

namespace rowstone {

// The cells a pattern requires, in the form the bit-plane matcher reads:
// every cell of plane 0 (a stone of the tested side) and of plane 1 (an
// empty intersection) whose value is 1, with the distinct rows and columns
// they lie in. The mask is exact when planes 0 and 1 hold nothing but 0 and
// 1: then a placement reaches the pattern's threshold exactly when every
// required cell is satisfied. Patterns with other values are matched by
// scoring.
class PatternMask {
public:
    struct Cell {
        int16_t row;
        int16_t column;
    };

    struct Plane {
        std::vector<Cell> cells;      // row by row, left to right
        std::vector<int16_t> rows;    // distinct rows of cells, ascending
        std::vector<int16_t> columns; // distinct columns of cells, ascending
    };

    Plane stones;
    Plane empties;
    bool exact = true;
    // Number of required cells; equals the threshold of an exact pattern.
    int32_t requiredCount = 0;

    // Reads planes 0 and 1 of a plane-major width x height pattern with
    // planeCount planes.
    void Compile(const int8_t* values, int width, int height, int planeCount);
    // No requirements: the mask of a pattern whose planes are all zero.
    void Clear();
};

} // namespace rowstone
