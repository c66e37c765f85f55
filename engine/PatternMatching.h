#pragma once

#include "CStonePattern.h"

#include <cstdint>

// The matching family: every way a pattern is scored against a grid. Each
// scoring operation writes one score per placement (top-left corner x0, y0
// of the window, 0 <= x0 <= W - p.width, 0 <= y0 <= H - p.height) into
// out[y0 * W + x0] and 0 into every other of the W * H entries.
//
// These are the reference implementations: exhaustive and literal. Any
// faster matcher must produce exactly the same maps.
namespace rowstone {

// Score against the byte grid of a board: plane 0 counts stones of side,
// plane 1 counts empty intersections. Fails unless side is -1 or +1,
// W, H >= 1, W * H >= 2 and p fits.
bool ScoreGrid(int32_t* out, const int8_t* cells, const CStonePattern& p, int side, int W, int H);

// The same sum on a grid of W * H int32 values.
bool ScoreReplay(int32_t* out, const int32_t* board, const CStonePattern& p, int side, int W,
                 int H);

// Score against a two-plane template of 2 * W * H values: stones T_A in the
// first W * H entries, empties T_B in the second. Fails unless W, H >= 1 and
// p fits.
bool ScoreTemplate(int32_t* out, const int32_t* templatePlanes, const CStonePattern& p, int W,
                   int H);

// Turns each of the W * H entries into 1 when it is >= threshold and 0
// otherwise; true when at least one entry became 1.
bool MarkMatches(int32_t* map, int W, int H, int threshold);

} // namespace rowstone
