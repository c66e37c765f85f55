#include "PatternMask.h"

#include <atomic>

namespace rowstone {

namespace {

std::atomic<uint64_t> revision{1};

} // namespace

uint64_t PatternMask::Revision() {
    return revision.load(std::memory_order_relaxed);
}

void PatternMask::Stamp::Advance() {
    revision.fetch_add(1, std::memory_order_relaxed);
}

void PatternMask::Clear() {
    Stamp::Advance();
    exact = true;
    hasLineMasks = true;
    stoneCount = emptyCount = 0;
    requiredCount = 0;
    stoneRows = stoneColumns = emptyRows = emptyColumns = 0;
    heapCells_.clear();
    heapCells_.shrink_to_fit();
}

void PatternMask::Compile(const int8_t* values, int width, int height, int planeCount) {
    Clear();
    if (values == nullptr || width < 1 || height < 1 || width > 255 || height > 255 ||
        planeCount < 2) {
        exact = false;
        return;
    }
    hasLineMasks = width <= kMaxLineMaskSide && height <= kMaxLineMaskSide;
    std::vector<Cell> cells;
    const int cellsPerPlane = width * height;
    for (int plane = 0; plane < 2; ++plane) {
        uint64_t rows = 0;
        uint64_t columns = 0;
        for (int r = 0; r < height; ++r) {
            for (int c = 0; c < width; ++c) {
                const int8_t value = values[plane * cellsPerPlane + r * width + c];
                if (value != 0 && value != 1) {
                    exact = false;
                }
                if (value != 1) {
                    continue;
                }
                cells.push_back({static_cast<uint8_t>(r), static_cast<uint8_t>(c)});
                if (hasLineMasks) {
                    rows |= uint64_t{1} << r;
                    columns |= uint64_t{1} << c;
                }
            }
        }
        if (plane == 0) {
            stoneCount = static_cast<uint16_t>(cells.size());
            stoneRows = rows;
            stoneColumns = columns;
        } else {
            emptyCount = static_cast<uint16_t>(cells.size() - stoneCount);
            emptyRows = rows;
            emptyColumns = columns;
        }
    }
    requiredCount = static_cast<int32_t>(cells.size());
    if (cells.size() <= inlineCells_.size()) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            inlineCells_[i] = cells[i];
        }
    } else {
        heapCells_ = std::move(cells);
    }
}

} // namespace rowstone
