#pragma once

#include "BitGrid.h"
#include "PatternMask.h"
#include "PlacementSet.h"
#include "PlanePairs.h"

namespace rowstone {

// Finds the placements of a pattern whose mask is exact over two bit planes
// of the same size: one holding the stones the pattern's plane 0 asks for,
// one holding the empty intersections its plane 1 asks for. For each row of
// placements the candidates are the AND, over every required cell (r, c),
// of plane row y0 + r shifted down by c; rows and columns that hold no bit
// of a plane rule out the placements that would need them first.
//
// Returns true when at least one placement matches. With firstOnly it stops
// at the first matching row of placements and out may be nullptr; otherwise
// out receives every match (and only those).
bool MatchBitPlanes(const PatternMask& mask, int patternWidth, int patternHeight,
                    const BitGrid& stones, const BitGrid& empties, PlacementSet* out,
                    bool firstOnly);

// True when every one of the cells, placed at (x0, y0), is set on grid.
inline bool AllCellsSet(const PatternMask::Cell* cells, int count, const BitGrid& grid, int x0,
                        int y0) {
    for (int i = 0; i < count; ++i) {
        if (!grid.Test(x0 + cells[i].column, y0 + cells[i].row)) {
            return false;
        }
    }
    return true;
}

// The same answer from a listed plane's pairs: anchored is the plane the
// pattern's first and last cells on it (two at least) lie on, pairs its
// current lists. Each pair at their offset fixes one placement; the other
// required cells are then tested one by one. Costs little when the
// offset's list is short.
bool MatchAtPairs(const PatternMask& mask, int patternWidth, int patternHeight,
                  const BitGrid& stones, const BitGrid& empties, bool anchoredOnStones,
                  const PlanePairs& pairs, PlacementSet* out, bool firstOnly);

} // namespace rowstone
