#include "BitPlaneMatcher.h"

namespace rowstone {

namespace {

using Line = BitGrid::LineBits;
using Cell = PatternMask::Cell;

int WordsFor(int bits) {
    return (bits + BitGrid::kWordBits - 1) / BitGrid::kWordBits;
}

// The first `words` words of bits get bits 0..count-1 set; the rest of
// bits is never read.
void SetFirstBits(Line& bits, int words, int count) {
    for (int k = 0; k < words; ++k, count -= BitGrid::kWordBits) {
        bits[static_cast<size_t>(k)] =
            count >= BitGrid::kWordBits ? ~uint64_t{0} : (uint64_t{1} << count) - 1;
    }
}

// Keeps the candidates c for which bit c + o of occupied is set for every
// offset o in the bit mask offsets; false when none is left.
bool NarrowByOccupancy(Line& candidates, int words, const Line& occupied, uint64_t offsets) {
    for (; offsets != 0; offsets &= offsets - 1) {
        const int offset = __builtin_ctzll(offsets);
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

bool NarrowByPlane(Line& rows, int rowWords, Line& columns, int columnWords, uint64_t maskRows,
                   uint64_t maskColumns, const BitGrid& grid) {
    if (maskRows == 0 || grid.EveryLineOccupied()) {
        return true;
    }
    return NarrowByOccupancy(rows, rowWords, grid.OccupiedRows(), maskRows) &&
           NarrowByOccupancy(columns, columnWords, grid.OccupiedColumns(), maskColumns);
}

template <bool kOneWord> uint64_t CellWord(const uint64_t* row, int k, int column) {
    if constexpr (kOneWord) {
        return row[0] >> column;
    } else {
        return ShiftedWord(row, k, column);
    }
}

// The candidates of word k of placement row y0 that every one of the
// cells leaves standing. Cells are taken two at a time between tests.
template <bool kOneWord>
uint64_t Survivors(uint64_t candidates, const Cell* cells, int count, const BitGrid& grid, int y0,
                   int k) {
    const uint64_t* top = grid.Row(y0);
    const int stride = grid.Stride();
    int i = 0;
    for (; i + 1 < count; i += 2) {
        const Cell a = cells[i];
        const Cell b = cells[i + 1];
        candidates &= CellWord<kOneWord>(top + a.row * stride, k, a.column) &
                      CellWord<kOneWord>(top + b.row * stride, k, b.column);
        if (candidates == 0) {
            return 0;
        }
    }
    if (i < count) {
        candidates &= CellWord<kOneWord>(top + cells[i].row * stride, k, cells[i].column);
    }
    return candidates;
}

struct Planes {
    const Cell* firstCells;
    int firstCount;
    const BitGrid* firstGrid;
    const Cell* secondCells;
    int secondCount;
    const BitGrid* secondGrid;
};

template <bool kOneWord>
bool ScanRows(const Planes& planes, const Line& rows, int rowWords, const Line& columns,
              int columnWords, PlacementSet* out, bool firstOnly) {
    uint64_t rowOut[BitGrid::kMaxWords];
    bool any = false;
    for (int i = 0; i < rowWords; ++i) {
        for (uint64_t pending = rows[static_cast<size_t>(i)]; pending != 0;
             pending &= pending - 1) {
            const int y0 = i * BitGrid::kWordBits + __builtin_ctzll(pending);
            uint64_t rowAny = 0;
            for (int k = 0; k < columnWords; ++k) {
                uint64_t candidates = columns[static_cast<size_t>(k)];
                if (candidates != 0) {
                    candidates = Survivors<kOneWord>(candidates, planes.firstCells,
                                                     planes.firstCount, *planes.firstGrid, y0, k);
                }
                if (candidates != 0) {
                    candidates = Survivors<kOneWord>(candidates, planes.secondCells,
                                                     planes.secondCount, *planes.secondGrid, y0, k);
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
            out->WriteRow(y0, rowOut, columnWords);
        }
    }
    return any;
}

// Up to this many required cells are tested a block of placement rows at
// a time: fewer unpredictable branches than testing row by row.
constexpr int kMaxBlockCells = 64;
constexpr int kBlock = BitGrid::kBlockRows;

struct BlockCells {
    const uint64_t* rows[kMaxBlockCells]; // the cell's row for y0 = 0, at its word
    int bits[kMaxBlockCells];
    int count = 0;
};

void AddCells(BlockCells& block, const Cell* cells, int count, const BitGrid& grid) {
    for (int i = 0; i < count; ++i) {
        block.rows[block.count] = grid.Row(cells[i].row) + (cells[i].column >> 6);
        block.bits[block.count] = cells[i].column & 63;
        ++block.count;
    }
}

// Bits y0, y0 + 1, ... of rows in the low bits.
uint64_t RowsFrom(const Line& rows, int y0) {
    return ShiftedWord(rows.data(), 0, y0);
}

// The first row at or after y0 whose bit is set, or placementsY.
int NextRow(const Line& rows, int placementsY, int y0) {
    for (int k = y0 >> 6; k * BitGrid::kWordBits < placementsY; ++k) {
        uint64_t bits = rows[static_cast<size_t>(k)];
        if (k == y0 >> 6) {
            bits &= ~uint64_t{0} << (y0 & 63);
        }
        if (bits != 0) {
            const int row = k * BitGrid::kWordBits + __builtin_ctzll(bits);
            return row < placementsY ? row : placementsY;
        }
    }
    return placementsY;
}

template <bool kOneWord> uint64_t BlockWord(const uint64_t* row, int k, int bit) {
    if constexpr (kOneWord) {
        return row[0] >> bit;
    } else {
        return (row[k] >> bit) | ((row[k + 1] << 1) << (63 - bit));
    }
}

template <bool kOneWord>
bool ScanBlocks(const BlockCells& cells, int stride, const Line& rows, int placementsY,
                const Line& columns, int columnWords, PlacementSet* out, bool firstOnly) {
    bool any = false;
    for (int y0 = NextRow(rows, placementsY, 0); y0 < placementsY;
         y0 = NextRow(rows, placementsY, y0 + kBlock)) {
        // The block starts at a wanted row, so that sparse rows cost one
        // block each.
        const uint64_t wanted = RowsFrom(rows, y0) & 0xF;
        uint64_t found[kBlock][BitGrid::kMaxWords];
        uint64_t blockAny = 0;
        for (int k = 0; k < columnWords; ++k) {
            const uint64_t start = columns[static_cast<size_t>(k)];
            uint64_t a0 = (wanted & 1) != 0 ? start : 0;
            uint64_t a1 = (wanted & 2) != 0 ? start : 0;
            uint64_t a2 = (wanted & 4) != 0 ? start : 0;
            uint64_t a3 = (wanted & 8) != 0 ? start : 0;
            const size_t offset = static_cast<size_t>(y0) * static_cast<size_t>(stride);
            for (int i = 0; i < cells.count && (a0 | a1 | a2 | a3) != 0; ++i) {
                const uint64_t* row = cells.rows[i] + offset;
                const int bit = cells.bits[i];
                a0 &= BlockWord<kOneWord>(row, k, bit);
                a1 &= BlockWord<kOneWord>(row + stride, k, bit);
                a2 &= BlockWord<kOneWord>(row + 2 * stride, k, bit);
                a3 &= BlockWord<kOneWord>(row + 3 * stride, k, bit);
            }
            found[0][k] = a0;
            found[1][k] = a1;
            found[2][k] = a2;
            found[3][k] = a3;
            blockAny |= a0 | a1 | a2 | a3;
        }
        if (blockAny == 0) {
            continue;
        }
        any = true;
        if (firstOnly) {
            return true;
        }
        for (int j = 0; j < kBlock && y0 + j < placementsY; ++j) {
            out->WriteRow(y0 + j, found[j], columnWords);
        }
    }
    return any;
}

// Grids of at most BitGrid::kLaneBits columns: each word of the packed
// planes holds four rows, so one shifted word tests a cell for four rows of
// placements at once.
constexpr int kLanes = BitGrid::kWordBits / BitGrid::kLaneBits;

// The candidates of one packed block that every cell leaves standing.
uint64_t PackedSurvivors(uint64_t candidates, const Cell* cells, int count, const uint64_t* packed,
                         int block) {
    auto shift = [cells](int i) { return cells[i].row * BitGrid::kLaneBits + cells[i].column; };
    int i = 0;
    for (; i + 1 < count && candidates != 0; i += 2) {
        candidates &=
            ShiftedWord(packed, block, shift(i)) & ShiftedWord(packed, block, shift(i + 1));
    }
    if (i < count && candidates != 0) {
        candidates &= ShiftedWord(packed, block, shift(i));
    }
    return candidates;
}

bool ScanPacked(const Planes& planes, const Line& rows, int placementsY, uint64_t columns,
                PlacementSet* out, bool firstOnly) {
    constexpr uint64_t kLaneMask = (uint64_t{1} << BitGrid::kLaneBits) - 1;
    uint64_t everyLane = 0;
    for (int j = 0; j < kLanes; ++j) {
        everyLane |= columns << (j * BitGrid::kLaneBits);
    }
    bool any = false;
    for (int y0 = 0; y0 < placementsY; y0 += kLanes) {
        const uint64_t wanted = (rows[static_cast<size_t>(y0 >> 6)] >> (y0 & 63)) & 0xF;
        if (wanted == 0) {
            continue;
        }
        uint64_t candidates = 0;
        for (int j = 0; j < kLanes; ++j) {
            if ((wanted >> j & 1) != 0) {
                candidates |= kLaneMask << (j * BitGrid::kLaneBits);
            }
        }
        candidates &= everyLane;
        const int block = y0 / kLanes;
        candidates = PackedSurvivors(candidates, planes.firstCells, planes.firstCount,
                                     planes.firstGrid->Packed(), block);
        candidates = PackedSurvivors(candidates, planes.secondCells, planes.secondCount,
                                     planes.secondGrid->Packed(), block);
        if (candidates == 0) {
            continue;
        }
        any = true;
        if (firstOnly) {
            return true;
        }
        for (int j = 0; j < kLanes && y0 + j < placementsY; ++j) {
            const uint64_t row = candidates >> (j * BitGrid::kLaneBits) & kLaneMask;
            out->WriteRow(y0 + j, &row, 1);
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
    if (stones.Count() < mask.stoneCount || empties.Count() < mask.emptyCount ||
        (out == nullptr && !firstOnly)) {
        return false;
    }
    const int placementsX = stones.Width() - patternWidth + 1;
    const int placementsY = stones.Height() - patternHeight + 1;
    if (placementsX < 1 || placementsY < 1) {
        return false;
    }
    Line rows;
    Line columns;
    const int rowWords = WordsFor(placementsY);
    const int columnWords = WordsFor(placementsX);
    SetFirstBits(rows, rowWords, placementsY);
    SetFirstBits(columns, columnWords, placementsX);
    // A block of rows may be read across the last word.
    rows[static_cast<size_t>(rowWords)] = 0;
    if (mask.hasLineMasks && (!NarrowByPlane(rows, rowWords, columns, columnWords, mask.stoneRows,
                                             mask.stoneColumns, stones) ||
                              !NarrowByPlane(rows, rowWords, columns, columnWords, mask.emptyRows,
                                             mask.emptyColumns, empties))) {
        return false;
    }
    // The plane with fewer bits rules out more placements per cell: test
    // its cells first.
    const Planes stonesFirst{mask.Stones(),  mask.stoneCount, &stones,
                             mask.Empties(), mask.emptyCount, &empties};
    const Planes emptiesFirst{mask.Empties(), mask.emptyCount, &empties,
                              mask.Stones(),  mask.stoneCount, &stones};
    const Planes& planes = empties.Count() < stones.Count() ? emptiesFirst : stonesFirst;
    if (stones.Packed() != nullptr && empties.Packed() != nullptr) {
        return ScanPacked(planes, rows, placementsY, columns[0], out, firstOnly);
    }
    if (planes.firstCount + planes.secondCount <= kMaxBlockCells) {
        BlockCells cells;
        AddCells(cells, planes.firstCells, planes.firstCount, *planes.firstGrid);
        AddCells(cells, planes.secondCells, planes.secondCount, *planes.secondGrid);
        if (stones.WordsPerRow() == 1) {
            return ScanBlocks<true>(cells, stones.Stride(), rows, placementsY, columns, columnWords,
                                    out, firstOnly);
        }
        return ScanBlocks<false>(cells, stones.Stride(), rows, placementsY, columns, columnWords,
                                 out, firstOnly);
    }
    if (stones.WordsPerRow() == 1) {
        return ScanRows<true>(planes, rows, rowWords, columns, columnWords, out, firstOnly);
    }
    return ScanRows<false>(planes, rows, rowWords, columns, columnWords, out, firstOnly);
}

bool MatchAtPairs(const PatternMask& mask, int patternWidth, int patternHeight,
                  const BitGrid& stones, const BitGrid& empties, bool anchoredOnStones,
                  const PlanePairs& pairs, PlacementSet* out, bool firstOnly) {
    if (out != nullptr) {
        out->Clear();
    }
    if (out == nullptr && !firstOnly) {
        return false;
    }
    const Cell* anchors = anchoredOnStones ? mask.Stones() : mask.Empties();
    const int anchorCount = anchoredOnStones ? mask.stoneCount : mask.emptyCount;
    const uint16_t offset = PlanePairs::OffsetOf(anchors[0], anchors[anchorCount - 1]);
    const int lastX = stones.Width() - patternWidth;
    const int lastY = stones.Height() - patternHeight;
    bool any = false;
    for (const uint16_t* at = pairs.Begin(offset); at != pairs.End(offset); ++at) {
        const int x0 = (*at & 0xFF) - anchors[0].column;
        const int y0 = (*at >> 8) - anchors[0].row;
        if (x0 < 0 || y0 < 0 || x0 > lastX || y0 > lastY ||
            !AllCellsSet(mask.Stones(), mask.stoneCount, stones, x0, y0) ||
            !AllCellsSet(mask.Empties(), mask.emptyCount, empties, x0, y0)) {
            continue;
        }
        any = true;
        if (firstOnly) {
            return true;
        }
        out->Add(x0, y0);
    }
    return any;
}

} // namespace rowstone
