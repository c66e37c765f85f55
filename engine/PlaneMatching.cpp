// Matching on bit planes: the network's planes are filled from a map once
// per search and each pattern is then matched on them. Patterns whose mask
// is not exact are scored by the reference operations instead, so the
// result is always the reference result.
#include "BitPlaneMatcher.h"
#include "CPatternNetwork.h"
#include "PatternMatching.h"

#include <algorithm>

namespace rowstone {

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

// Layers of at least this many patterns are passed over by pair offsets:
// listing the pairs of a plane costs about as much as passing over that
// many patterns one by one.
constexpr size_t kPatternsWorthPairs = 128;
// Longest list of pairs walked instead of matching across the planes.
constexpr int kMaxPairWalk = LayerDigest::kMaxPairWalk;

PlaneFacts FactsOf(const BitGrid& plane, PlanePairs& pairs, size_t layerSize) {
    if (layerSize >= kPatternsWorthPairs) {
        pairs.Ensure(plane);
    }
    return {plane.Count(), &plane, pairs.DescribesNow(plane) ? &pairs : nullptr};
}

// The length of the list of pairs that p's first and last cells on a plane
// would walk; more than kMaxPairWalk when there is no such list.
int PairWalk(const PatternMask::Cell* cells, int count, const BitGrid& plane,
             const PlanePairs& pairs) {
    if (count < 2 || !pairs.DescribesNow(plane) || !pairs.Listed()) {
        return kMaxPairWalk + 1;
    }
    const uint16_t offset = PlanePairs::OffsetOf(cells[0], cells[count - 1]);
    return offset == PlanePairs::kNoOffset ? kMaxPairWalk + 1 : pairs.Count(offset);
}

// The matches of p on two planes: patterns that ask for more stones or
// empties than the planes hold are answered first (most patterns of a
// scan), then a short list of pairs is walked where the planes have one,
// else the planes are matched across.
bool MatchOnPlanes(const CStonePattern& p, const BitGrid& stones, const PlanePairs& stonePairs,
                   const BitGrid& empties, const PlanePairs& emptyPairs, PlacementSet* out,
                   bool firstOnly) {
    const PatternMask& mask = p.mask;
    if (mask.stoneCount > stones.Count() || mask.emptyCount > empties.Count()) {
        if (out != nullptr) {
            out->Clear();
        }
        return false;
    }
    const int stoneWalk = PairWalk(mask.Stones(), mask.stoneCount, stones, stonePairs);
    const int emptyWalk = PairWalk(mask.Empties(), mask.emptyCount, empties, emptyPairs);
    if (std::min(stoneWalk, emptyWalk) <= kMaxPairWalk) {
        const bool onStones = stoneWalk <= emptyWalk;
        return MatchAtPairs(mask, p.width, p.height, stones, empties, onStones,
                            onStones ? stonePairs : emptyPairs, out, firstOnly);
    }
    return MatchBitPlanes(mask, p.width, p.height, stones, empties, out, firstOnly);
}

} // namespace

int CPatternNetwork::NextOnSidePlanes(int layer, int from, int side, int W, int H) {
    CPatternLayer& l = layers[static_cast<size_t>(layer)];
    const bool decide =
        !referenceMatching && IsSide(side) && int64_t{W} * H >= 2 && PlanesSized(emptyPlane, W, H);
    if (!decide) {
        return l.digest.Next(l.patterns, from, {}, {}, W, H);
    }
    return l.digest.Next(l.patterns, from,
                            FactsOf(StonePlane(side), StonePairs(side), l.patterns.size()),
                            FactsOf(emptyPlane, emptyPairs, l.patterns.size()), W, H);
}

int CPatternNetwork::NextOnTemplatePlanes(int layer, int from, int W, int H) {
    CPatternLayer& l = layers[static_cast<size_t>(layer)];
    const bool decide =
        !referenceMatching && templateIsBinary_ && PlanesSized(templateEmptyPlane, W, H);
    if (!decide) {
        return l.digest.Next(l.patterns, from, {}, {}, W, H);
    }
    return l.digest.Next(l.patterns, from,
                            FactsOf(templateStonePlane, templateStonePairs, l.patterns.size()),
                            FactsOf(templateEmptyPlane, templateEmptyPairs, l.patterns.size()), W,
                            H);
}

bool CPatternNetwork::EnsureBitPlanes(int W, int H) {
    if (emptyPlane.Width() == W && emptyPlane.Height() == H) {
        return true;
    }
    return sidePlanes[0].Resize(W, H) && sidePlanes[1].Resize(W, H) && emptyPlane.Resize(W, H) &&
           templateStonePlane.Resize(W, H) && templateEmptyPlane.Resize(W, H) &&
           placements.Resize(W, H) && innerPlacements.Resize(W, H);
}

bool CPatternNetwork::LoadCellPlanes(const int8_t* cells, int W, int H) {
    if (cells == nullptr || !EnsureBitPlanes(W, H)) {
        return false;
    }
    sidePlanes[0].Clear();
    sidePlanes[1].Clear();
    emptyPlane.Clear();
    for (int y = 0; y < H; ++y) {
        const int8_t* row = cells + static_cast<size_t>(y) * static_cast<size_t>(W);
        for (int x = 0; x < W; ++x) {
            if (row[x] == 0) {
                emptyPlane.Set(x, y);
            } else if (row[x] == -1) {
                sidePlanes[0].Set(x, y);
            } else if (row[x] == 1) {
                sidePlanes[1].Set(x, y);
            }
        }
    }
    return true;
}

bool CPatternNetwork::LoadReplayPlanes(const int32_t* board, int W, int H) {
    if (board == nullptr || !EnsureBitPlanes(W, H)) {
        return false;
    }
    sidePlanes[0].Clear();
    sidePlanes[1].Clear();
    emptyPlane.Clear();
    for (int y = 0; y < H; ++y) {
        const int32_t* row = board + static_cast<size_t>(y) * static_cast<size_t>(W);
        for (int x = 0; x < W; ++x) {
            if (row[x] == 0) {
                emptyPlane.Set(x, y);
            } else if (row[x] == -1) {
                sidePlanes[0].Set(x, y);
            } else if (row[x] == 1) {
                sidePlanes[1].Set(x, y);
            }
        }
    }
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
        found = MatchOnPlanes(p, StonePlane(side), StonePairs(side), emptyPlane, emptyPairs, out,
                              firstOnly);
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
        found = MatchOnPlanes(p, StonePlane(side), StonePairs(side), emptyPlane, emptyPairs, out,
                              firstOnly);
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
        found = MatchOnPlanes(p, templateStonePlane, templateStonePairs, templateEmptyPlane,
                              templateEmptyPairs, out, firstOnly);
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
    const int n = W * H;
    int32_t* emptyVotes = voteMap.data();
    int32_t* moveVotes = voteMap.data() + n;
    const bool hasMovePlane = p.planeCount >= 3;
    matchCount = 0;
    maxEmpty = 0;
    maxMove = 0;
    matches.ForEach([&](int x0, int y0) {
        ++matchCount;
        for (int r = 0; r < p.height; ++r) {
            for (int c = 0; c < p.width; ++c) {
                const int i = (y0 + r) * W + x0 + c;
                emptyVotes[i] += p.At(1, r, c);
                if (hasMovePlane) {
                    moveVotes[i] += p.At(2, r, c);
                }
                maxEmpty = std::max(maxEmpty, emptyVotes[i]);
                maxMove = std::max(maxMove, moveVotes[i]);
            }
        }
        return true;
    });
    return true;
}

} // namespace rowstone
