#include "BitPlaneMatcher.h"

namespace rowstone {

namespace {

using Line = BitGrid::LineBits;

int WordsFor(int bits) {
    return (bits + BitGrid::kWordBits - 1) / BitGrid::kWordBits;
}

// Keeps the candidates c for which every offset o finds bit c + o of
// occupied set; false when none is left.
bool NarrowByOccupancy(Line& candidates, int words, const Line& occupied,
                       const std::vector<int16_t>& offsets) {
    for (const int16_t offset : offsets) {
        uint64_t any = 0;
        for (int k = 0; k < words; ++k) {
            candidates[static_cast<size_t>(k)] &= ShiftedWord(occupied.data(), k, offset);
            any |= candidates[static_cast<size_t>(k)];
        }
        if (any == 0) {
            return false;
        }
    }
    return true;
}

bool NarrowByPlane(Line& rows, int rowWords, Line& columns, int columnWords,
                   const PatternMask::Plane& plane, const BitGrid& grid) {
    if (plane.cells.empty() || grid.EveryLineOccupied()) {
        return true;
    }
    return NarrowByOccupancy(rows, rowWords, grid.OccupiedRows(), plane.rows) &&
           NarrowByOccupancy(columns, columnWords, grid.OccupiedColumns(), plane.columns);
}

// The candidates of word k of placement row y0 that every cell of plane
// leaves standing.
template <bool kOneWord>
uint64_t Survivors(uint64_t candidates, const PatternMask::Plane& plane, const BitGrid& grid,
                   int y0, int k) {
    const uint64_t* top = grid.Row(y0);
    const int stride = grid.Stride();
    for (const PatternMask::Cell& cell : plane.cells) {
        const uint64_t* row = top + cell.row * stride;
        candidates &= kOneWord ? row[0] >> cell.column : ShiftedWord(row, k, cell.column);
        if (candidates == 0) {
            break;
        }
    }
    return candidates;
}

struct Planes {
    const PatternMask::Plane* firstCells;
    const BitGrid* firstGrid;
    const PatternMask::Plane* secondCells;
    const BitGrid* secondGrid;
};

template <bool kOneWord>
bool ScanRows(const Planes& planes, const Line& rows, int rowWords, const Line& columns,
              int columnWords, PlacementSet* out, bool firstOnly) {
    uint64_t rowOut[BitGrid::kMaxWords] = {};
    bool any = false;
    for (int i = 0; i < rowWords; ++i) {
        for (uint64_t pending = rows[static_cast<size_t>(i)]; pending != 0;
             pending &= pending - 1) {
            const int y0 = i * BitGrid::kWordBits + __builtin_ctzll(pending);
            uint64_t rowAny = 0;
            for (int k = 0; k < columnWords; ++k) {
                uint64_t candidates = columns[static_cast<size_t>(k)];
                if (candidates != 0) {
                    candidates = Survivors<kOneWord>(candidates, *planes.firstCells,
                                                     *planes.firstGrid, y0, k);
                }
                if (candidates != 0) {
                    candidates = Survivors<kOneWord>(candidates, *planes.secondCells,
                                                     *planes.secondGrid, y0, k);
                }
                rowOut[k] = candidates;
                rowAny |= candidates;
            }
            if (rowAny == 0) {
                continue;
            }
            any = true;
            if (firstOnly) {
                return true;
            }
            out->WriteRow(y0, rowOut);
        }
    }
    return any;
}

} // namespace

bool MatchBitPlanes(const PatternMask& mask, int patternWidth, int patternHeight,
                    const BitGrid& stones, const BitGrid& empties, PlacementSet* out,
                    bool firstOnly) {
    if (out != nullptr) {
        out->Clear();
    }
    if (out == nullptr && !firstOnly) {
        return false;
    }
    const int placementsX = stones.Width() - patternWidth + 1;
    const int placementsY = stones.Height() - patternHeight + 1;
    if (placementsX < 1 || placementsY < 1 ||
        stones.Count() < static_cast<int>(mask.stones.cells.size()) ||
        empties.Count() < static_cast<int>(mask.empties.cells.size())) {
        return false;
    }
    Line rows;
    Line columns;
    SetLowBits(rows, placementsY);
    SetLowBits(columns, placementsX);
    const int rowWords = WordsFor(placementsY);
    const int columnWords = WordsFor(placementsX);
    if (!NarrowByPlane(rows, rowWords, columns, columnWords, mask.stones, stones) ||
        !NarrowByPlane(rows, rowWords, columns, columnWords, mask.empties, empties)) {
        return false;
    }
    // The plane with fewer bits rules out more placements per cell: test
    // its cells first.
    const bool emptiesFirst = empties.Count() < stones.Count();
    const Planes planes = emptiesFirst ? Planes{&mask.empties, &empties, &mask.stones, &stones}
                                       : Planes{&mask.stones, &stones, &mask.empties, &empties};
    if (stones.WordsPerRow() == 1) {
        return ScanRows<true>(planes, rows, rowWords, columns, columnWords, out, firstOnly);
    }
    return ScanRows<false>(planes, rows, rowWords, columns, columnWords, out, firstOnly);
}

} // namespace rowstone
