#include "PatternMask.h"

#include <algorithm>

namespace rowstone {

namespace {

void CollectPlane(const int8_t* plane, int width, int height, PatternMask::Plane& out,
                  bool& exact) {
    std::vector<bool> usedColumns(static_cast<size_t>(width), false);
    for (int r = 0; r < height; ++r) {
        bool rowUsed = false;
        for (int c = 0; c < width; ++c) {
            const int8_t value = plane[r * width + c];
            if (value != 0 && value != 1) {
                exact = false;
            }
            if (value == 1) {
                out.cells.push_back({static_cast<int16_t>(r), static_cast<int16_t>(c)});
                usedColumns[static_cast<size_t>(c)] = true;
                rowUsed = true;
            }
        }
        if (rowUsed) {
            out.rows.push_back(static_cast<int16_t>(r));
        }
    }
    for (int c = 0; c < width; ++c) {
        if (usedColumns[static_cast<size_t>(c)]) {
            out.columns.push_back(static_cast<int16_t>(c));
        }
    }
}

void ClearPlane(PatternMask::Plane& plane) {
    plane.cells.clear();
    plane.rows.clear();
    plane.columns.clear();
}

} // namespace

void PatternMask::Clear() {
    ClearPlane(stones);
    ClearPlane(empties);
    exact = true;
    requiredCount = 0;
}

void PatternMask::Compile(const int8_t* values, int width, int height, int planeCount) {
    Clear();
    if (values == nullptr || width < 1 || height < 1 || planeCount < 2) {
        exact = false;
        return;
    }
    const int cellsPerPlane = width * height;
    CollectPlane(values, width, height, stones, exact);
    CollectPlane(values + cellsPerPlane, width, height, empties, exact);
    requiredCount = static_cast<int32_t>(stones.cells.size() + empties.cells.size());
}

} // namespace rowstone
