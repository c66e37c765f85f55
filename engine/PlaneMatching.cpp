// Matching on bit planes: the network's planes are filled from a map once
// per search and each pattern is then matched on them. Patterns whose mask
// is not exact are scored by the reference operations instead, so the
// result is always the reference result.
#include "BitPlaneMatcher.h"
#include "CPatternNetwork.h"
#include "PatternMatching.h"

#include <algorithm>

namespace rowstone {

// One plane a pattern is matched on, with what is derived from it; the
// derived parts count only where they describe the plane as it stands.
struct MatchPlane {
    BitGrid& grid;
    PlanePairs& pairs;
    PackedShifts& shifts;

    const PlanePairs* CurrentPairs() const {
        return pairs.DescribesNow(grid) && pairs.Listed() ? &pairs : nullptr;
    }
    const PackedShifts* CurrentShifts() const {
        return shifts.DescribesNow(grid) ? &shifts : nullptr;
    }
};

namespace {

bool IsSide(int side) {
    return side == -1 || side == 1;
}

// The bit planes decide p on their own only when its mask is exact and
// still describes its planes (the threshold is the count of requirements).
bool PlanesDecide(const CStonePattern& p) {
    return p.mask.exact && p.mask.requiredCount == p.threshold && p.planeCount >= 2;
}

bool PlanesSized(const BitGrid& plane, int W, int H) {
    return plane.Width() == W && plane.Height() == H;
}

// Layers of at least this many patterns are scanned with the planes' pairs
// listed and, on small grids, the planes read at every shift: preparing
// them costs about as much as passing over that many patterns one by one.
constexpr size_t kPatternsWorthPreparing = 128;
constexpr int kMaxPairWalk = LayerDigest::kMaxPairWalk;

// Planes read at every shift list their pairs only up to this many bits:
// beyond, matching on the shifts is quicker than walking pairs.
constexpr int kMaxListedBesideShifts = 48;

PlaneFacts FactsOf(const MatchPlane& plane, size_t layerSize) {
    const bool shifted = PackedShifts::Suits(plane.grid);
    const bool listPairs = !shifted || plane.grid.Count() <= kMaxListedBesideShifts;
    if (layerSize >= kPatternsWorthPreparing) {
        if (listPairs) {
            plane.pairs.Ensure(plane.grid);
        }
        if (shifted) {
            plane.shifts.Ensure(plane.grid);
        }
    }
    return {plane.grid.Count(), &plane.grid, listPairs ? plane.CurrentPairs() : nullptr,
            plane.CurrentShifts()};
}

// The length of the list of pairs that p's first and last cells on a plane
// would walk; more than kMaxPairWalk when there is no such list.
int PairWalk(const PatternMask::Cell* cells, int count, const MatchPlane& plane) {
    const PlanePairs* pairs = plane.CurrentPairs();
    if (count < 2 || pairs == nullptr) {
        return kMaxPairWalk + 1;
    }
    const uint16_t offset = PlanePairs::OffsetOf(cells[0], cells[count - 1]);
    return offset == PlanePairs::kNoOffset ? kMaxPairWalk + 1 : pairs->Count(offset);
}

bool MatchOnShifts(const CStonePattern& p, const PackedShifts& stones, const PackedShifts& empties,
                   PlacementSet* out, bool firstOnly) {
    if (out != nullptr) {
        out->Clear();
    }
    const PatternMask& mask = p.mask;
    uint64_t words[PackedShifts::kWords];
    if (!PackedMatches(mask.Stones(), mask.stoneCount, stones, mask.Empties(), mask.emptyCount,
                       empties, p.width, p.height, words)) {
        return false;
    }
    if (!firstOnly) {
        out->AssignPacked(words);
    }
    return true;
}

// The matches of p on two planes: patterns that ask for more stones or
// empties than the planes hold are answered first (most patterns of a
// scan), then a short list of pairs is walked where the planes have one,
// else the planes are matched across: at every shift where they are read
// so, else row by row.
bool MatchOnPlanes(const CStonePattern& p, const MatchPlane& stones, const MatchPlane& empties,
                   const LayerDigest* scanned, PlacementSet* out, bool firstOnly) {
    const PatternMask& mask = p.mask;
    if (mask.stoneCount > stones.grid.Count() || mask.emptyCount > empties.grid.Count() ||
        (out == nullptr && !firstOnly)) {
        if (out != nullptr) {
            out->Clear();
        }
        return false;
    }
    bool noneMatched = false;
    const uint64_t* known =
        scanned != nullptr ? scanned->KnownPlacements(p, stones.grid, empties.grid, noneMatched)
                           : nullptr;
    if (known != nullptr) {
        if (out != nullptr) {
            out->Clear();
            if (!noneMatched && !firstOnly) {
                out->AssignPacked(known);
            }
        }
        return !noneMatched;
    }
    const PackedShifts* stoneShifts = stones.CurrentShifts();
    const PackedShifts* emptyShifts = empties.CurrentShifts();
    const bool shifted = stoneShifts != nullptr && emptyShifts != nullptr;
    const int stoneWalk = PairWalk(mask.Stones(), mask.stoneCount, stones);
    const int emptyWalk = PairWalk(mask.Empties(), mask.emptyCount, empties);
    if (std::min(stoneWalk, emptyWalk) <=
        (shifted ? LayerDigest::kMaxPairWalkBesideShifts : kMaxPairWalk)) {
        const bool onStones = stoneWalk <= emptyWalk;
        return MatchAtPairs(mask, p.width, p.height, stones.grid, empties.grid, onStones,
                            onStones ? stones.pairs : empties.pairs, out, firstOnly);
    }
    if (shifted) {
        return MatchOnShifts(p, *stoneShifts, *emptyShifts, out, firstOnly);
    }
    return MatchBitPlanes(mask, p.width, p.height, stones.grid, empties.grid, out, firstOnly);
}

} // namespace

MatchPlane CPatternNetwork::SideStones(int side) {
    return {StonePlane(side), StonePairs(side), StoneShifts(side)};
}

MatchPlane CPatternNetwork::SideEmpties() {
    return {emptyPlane, emptyPairs, emptyShifts};
}

MatchPlane CPatternNetwork::TemplateStones() {
    return {templateStonePlane, templateStonePairs, templateStoneShifts};
}

MatchPlane CPatternNetwork::TemplateEmpties() {
    return {templateEmptyPlane, templateEmptyPairs, templateEmptyShifts};
}

int CPatternNetwork::NextOnSidePlanes(int layer, int from, int side, int W, int H) {
    CPatternLayer& l = layers[static_cast<size_t>(layer)];
    scannedDigest_ = &l.digest;
    const bool decide =
        !referenceMatching && IsSide(side) && int64_t{W} * H >= 2 && PlanesSized(emptyPlane, W, H);
    if (!decide) {
        return l.digest.Next(l.patterns, from, {}, {}, W, H);
    }
    return l.digest.Next(l.patterns, from, FactsOf(SideStones(side), l.patterns.size()),
                         FactsOf(SideEmpties(), l.patterns.size()), W, H);
}

int CPatternNetwork::NextOnTemplatePlanes(int layer, int from, int W, int H) {
    CPatternLayer& l = layers[static_cast<size_t>(layer)];
    scannedDigest_ = &l.digest;
    const bool decide =
        !referenceMatching && templateIsBinary_ && PlanesSized(templateEmptyPlane, W, H);
    if (!decide) {
        return l.digest.Next(l.patterns, from, {}, {}, W, H);
    }
    return l.digest.Next(l.patterns, from, FactsOf(TemplateStones(), l.patterns.size()),
                         FactsOf(TemplateEmpties(), l.patterns.size()), W, H);
}

bool CPatternNetwork::EnsureBitPlanes(int W, int H) {
    if (emptyPlane.Width() == W && emptyPlane.Height() == H) {
        return true;
    }
    return sidePlanes[0].Resize(W, H) && sidePlanes[1].Resize(W, H) && emptyPlane.Resize(W, H) &&
           templateStonePlane.Resize(W, H) && templateEmptyPlane.Resize(W, H) &&
           placements.Resize(W, H) && innerPlacements.Resize(W, H);
}

namespace {

// Fills the side planes and the empty plane from a row-major map of -1, 0
// and +1 (other values leave an intersection in no plane).
template <typename Cell>
void LoadSidePlanes(const Cell* map, int W, int H, BitGrid* sides, BitGrid& empties) {
    sides[0].Clear();
    sides[1].Clear();
    empties.Clear();
    for (int y = 0; y < H; ++y) {
        const Cell* row = map + static_cast<size_t>(y) * static_cast<size_t>(W);
        for (int x = 0; x < W; ++x) {
            if (row[x] == 0) {
                empties.Set(x, y);
            } else if (row[x] == -1) {
                sides[0].Set(x, y);
            } else if (row[x] == 1) {
                sides[1].Set(x, y);
            }
        }
    }
}

} // namespace

bool CPatternNetwork::LoadCellPlanes(const int8_t* cells, int W, int H) {
    if (cells == nullptr || !EnsureBitPlanes(W, H)) {
        return false;
    }
    LoadSidePlanes(cells, W, H, sidePlanes, emptyPlane);
    return true;
}

bool CPatternNetwork::LoadReplayPlanes(const int32_t* board, int W, int H) {
    if (board == nullptr || !EnsureBitPlanes(W, H)) {
        return false;
    }
    LoadSidePlanes(board, W, H, sidePlanes, emptyPlane);
    return true;
}

bool CPatternNetwork::LoadTemplatePlanes(const int32_t* templatePlanes, int W, int H) {
    if (templatePlanes == nullptr || !EnsureBitPlanes(W, H)) {
        return false;
    }
    templateStonePlane.Clear();
    templateEmptyPlane.Clear();
    const size_t n = static_cast<size_t>(W) * static_cast<size_t>(H);
    templateIsBinary_ = true;
    for (size_t i = 0; i < 2 * n; ++i) {
        const int32_t value = templatePlanes[i];
        if (value != 0 && value != 1) {
            templateIsBinary_ = false;
        } else if (value == 1) {
            const size_t cell = i < n ? i : i - n;
            BitGrid& plane = i < n ? templateStonePlane : templateEmptyPlane;
            plane.Set(static_cast<int>(cell % static_cast<size_t>(W)),
                      static_cast<int>(cell / static_cast<size_t>(W)));
        }
    }
    return true;
}

void CPatternNetwork::PlaceOnCellPlanes(int index, int side, int W) {
    emptyPlane.Reset(index % W, index / W);
    StonePlane(side).Set(index % W, index / W);
}

void CPatternNetwork::TakeFromCellPlanes(int index, int side, int W) {
    StonePlane(side).Reset(index % W, index / W);
    emptyPlane.Set(index % W, index / W);
}

bool CPatternNetwork::MarkedPlacements(const CStonePattern& p, int W, int H, PlacementSet* out) {
    if (out == nullptr) {
        return true;
    }
    out->Clear();
    for (int y0 = 0; y0 + p.height <= H; ++y0) {
        for (int x0 = 0; x0 + p.width <= W; ++x0) {
            if (scoreMap[static_cast<size_t>(y0 * W + x0)] != 0) {
                out->Add(x0, y0);
            }
        }
    }
    return true;
}

bool CPatternNetwork::MatchCells(const CStonePattern& p, const int8_t* cells, int side, int W,
                                 int H, PlacementSet* out, bool firstOnly, bool& found) {
    found = false;
    if (cells == nullptr || !IsSide(side) || W < 1 || H < 1 || int64_t{W} * H < 2 ||
        !p.Fits(W, H) || p.planeCount < 2) {
        return false;
    }
    if (!referenceMatching && PlanesDecide(p) && PlanesSized(emptyPlane, W, H)) {
        found = MatchOnPlanes(p, SideStones(side), SideEmpties(), scannedDigest_, out, firstOnly);
        return true;
    }
    if (!EnsureBuffersFor(W, H) || !ScoreGrid(scoreMap.data(), cells, p, side, W, H)) {
        return false;
    }
    found = MarkMatches(scoreMap.data(), W, H, p.threshold);
    return MarkedPlacements(p, W, H, out);
}

bool CPatternNetwork::MatchReplay(const CStonePattern& p, const int32_t* board, int side, int W,
                                  int H, PlacementSet* out, bool firstOnly, bool& found) {
    found = false;
    if (board == nullptr || !IsSide(side) || W < 1 || H < 1 || int64_t{W} * H < 2 ||
        !p.Fits(W, H) || p.planeCount < 2) {
        return false;
    }
    if (!referenceMatching && PlanesDecide(p) && PlanesSized(emptyPlane, W, H)) {
        found = MatchOnPlanes(p, SideStones(side), SideEmpties(), scannedDigest_, out, firstOnly);
        return true;
    }
    if (!EnsureBuffersFor(W, H) || !ScoreReplay(scoreMap.data(), board, p, side, W, H)) {
        return false;
    }
    found = MarkMatches(scoreMap.data(), W, H, p.threshold);
    return MarkedPlacements(p, W, H, out);
}

bool CPatternNetwork::MatchTemplate(const CStonePattern& p, const int32_t* templatePlanes, int W,
                                    int H, PlacementSet* out, bool firstOnly, bool& found) {
    found = false;
    if (templatePlanes == nullptr || W < 1 || H < 1 || !p.Fits(W, H) || p.planeCount < 2) {
        return false;
    }
    if (!referenceMatching && templateIsBinary_ && PlanesDecide(p) &&
        PlanesSized(templateEmptyPlane, W, H)) {
        found =
            MatchOnPlanes(p, TemplateStones(), TemplateEmpties(), scannedDigest_, out, firstOnly);
        return true;
    }
    if (!EnsureBuffersFor(W, H) || !ScoreTemplate(scoreMap.data(), templatePlanes, p, W, H)) {
        return false;
    }
    found = MarkMatches(scoreMap.data(), W, H, p.threshold);
    return MarkedPlacements(p, W, H, out);
}

bool CPatternNetwork::CollectPlacementVotes(const PlacementSet& matches, const CStonePattern& p,
                                            int W, int H, int& maxMove, int& maxEmpty,
                                            int& matchCount) {
    if (W < 1 || H < 1 || !p.Fits(W, H) || !EnsureBuffersFor(W, H)) {
        return false;
    }
    matchCount = 0;
    maxEmpty = 0;
    maxMove = 0;
    matches.ForEach([&](int x0, int y0) {
        ++matchCount;
        AddPlacementVotes(p, x0, y0, W, H, maxMove, maxEmpty);
        return true;
    });
    return true;
}

} // namespace rowstone
