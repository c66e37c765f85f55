#pragma once

#include "BitGrid.h"
#include "CPatternLayer.h"
#include "CStonePattern.h"
#include "ModelError.h"
#include "Move.h"
#include "PackedShifts.h"
#include "PlacementSet.h"
#include "PlanePairs.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rowstone {

struct MatchPlane;

// The computer's knowledge of one game type: layer 0 detects wins, layers 1
// and up come from a model file or from learning. Also owns the work buffers
// of matching, move choice and learning, sized once per grid and reused so
// that no search allocates.
class CPatternNetwork {
public:
    // Grids handled by the network: the model format stores each side in one byte.
    static constexpr int kMaxGridSide = 255;
    // Highest layer searched when layerLimit is not set.
    static constexpr int kDefaultLayerLimit = 200;

    // Work buffers, n = bufferWidth * bufferHeight entries per plane.
    std::vector<int32_t> scoreMap;    // n: scores, then 0/1 match flags
    std::vector<int32_t> replayBoard; // n: the grid rebuilt from a move list
    std::vector<int32_t> templateMap; // 2n: stones and empties of a template
    std::vector<int32_t> voteMap;     // 2n: empty votes, move votes; the region being learned
    std::vector<int32_t> regionGrid;  // 2n: a cut-out region
    std::vector<int32_t> scratch;     // 6n: candidate lists and temporary grids
    int32_t bufferWidth = 0;
    int32_t bufferHeight = 0;

    // Bit planes of the position being matched: the stones of side -1 and
    // of side +1 and the empty intersections, then the two planes of a
    // template; and the matching placements of a search and of a test run
    // inside it. Sized for the grid of the latest search.
    BitGrid sidePlanes[2];
    BitGrid emptyPlane;
    BitGrid templateStonePlane;
    BitGrid templateEmptyPlane;
    PlacementSet placements;
    PlacementSet innerPlacements;
    // The pairs of those planes, listed when a large layer is scanned.
    PlanePairs sidePairs[2];
    PlanePairs emptyPairs;
    PlanePairs templateStonePairs;
    PlanePairs templateEmptyPairs;
    // And those planes read at every shift, when the grid is small.
    PackedShifts sideShifts[2];
    PackedShifts emptyShifts;
    PackedShifts templateStoneShifts;
    PackedShifts templateEmptyShifts;

    std::vector<CPatternLayer> layers;
    int32_t connectLength = 0;
    // Highest layer used for choosing and learning; <= 0 means kDefaultLayerLimit.
    int32_t layerLimit = 0;
    // Match every pattern by scoring, as the reference operations of
    // PatternMatching.h do, instead of on bit planes; for comparisons and
    // measurements. Both give the same results.
    bool referenceMatching = false;

    int32_t layerCount() const { return static_cast<int32_t>(layers.size()); }

    // --- Structure (CPatternNetwork.cpp) ---
    bool EnsureBuffers(int W, int H);
    void ReleaseBuffers();
    void ReleaseLayers();
    bool CreateLayers(int count);
    CPatternLayer& AppendLayer();
    // Layer 0: the four lines of N stones (horizontal, anti-diagonal,
    // vertical, diagonal). False when there are no layers or N < 2.
    bool BuildLineLayer(int N);
    // Sets the threshold of every pattern; false when there are no layers.
    bool ComputeThresholds();

    // --- Model file (ModelParser.cpp) ---
    // Builds the layers from a model file. width, height and connectLength
    // are written as soon as the header is accepted. On refusal, error (when
    // given) says why and where.
    bool Parse(const uint8_t* data, size_t size, int& width, int& height, int& connectLength,
               ModelError* error = nullptr);

    // --- Judgement (MoveChoice.cpp) ---
    bool IsWin(const int8_t* cells, int side, int W, int H);
    // The network's move for side, or false when no pattern applies. The
    // cells are probed during the look-ahead and are unchanged on return.
    bool FindMove(int8_t* cells, int side, int W, int H, int& x, int& y);
    bool CollectVotes(const int32_t* matches, const CStonePattern& p, int W, int H, int& maxMove,
                      int& maxEmpty, int& matchCount);
    bool PickCandidate(const int32_t* votes, int8_t* cells, int W, int H, int probeSide,
                       int minimum, int& x, int& y);

    // --- Matching on bit planes (PlaneMatching.cpp) ---
    // Each Load* fills the planes for one kind of map; each Match* then
    // finds the placements of p the way ScoreGrid, ScoreReplay or
    // ScoreTemplate followed by MarkMatches would: found is MarkMatches'
    // answer and out (when given) the placements marked. With firstOnly
    // only found is meant. False where the scoring operation would fail.
    bool EnsureBitPlanes(int W, int H);
    bool LoadCellPlanes(const int8_t* cells, int W, int H);
    bool LoadReplayPlanes(const int32_t* board, int W, int H);
    bool LoadTemplatePlanes(const int32_t* templatePlanes, int W, int H);
    void PlaceOnCellPlanes(int index, int side, int W);
    void TakeFromCellPlanes(int index, int side, int W);
    bool MatchCells(const CStonePattern& p, const int8_t* cells, int side, int W, int H,
                    PlacementSet* out, bool firstOnly, bool& found);
    bool MatchReplay(const CStonePattern& p, const int32_t* board, int side, int W, int H,
                     PlacementSet* out, bool firstOnly, bool& found);
    bool MatchTemplate(const CStonePattern& p, const int32_t* templatePlanes, int W, int H,
                       PlacementSet* out, bool firstOnly, bool& found);
    // CollectVotes over a set of placements.
    bool CollectPlacementVotes(const PlacementSet& matches, const CStonePattern& p, int W, int H,
                               int& maxMove, int& maxEmpty, int& matchCount);
    BitGrid& StonePlane(int side) { return sidePlanes[side < 0 ? 0 : 1]; }
    PlanePairs& StonePairs(int side) { return sidePairs[side < 0 ? 0 : 1]; }
    PackedShifts& StoneShifts(int side) { return sideShifts[side < 0 ? 0 : 1]; }
    // The first pattern of a layer at or after index from that fits a W x H
    // grid and may match for side on the loaded side planes, or on the
    // loaded template planes; the layer's pattern count when none is left.
    // The patterns passed over are those Match* would report unmatched.
    int NextOnSidePlanes(int layer, int from, int side, int W, int H);
    int NextOnTemplatePlanes(int layer, int from, int W, int H);

    // --- Learning (Learning.cpp) ---
    bool LearnFromGame(const Move* moves, int moveCount, int W, int H);
    bool AddPattern(const int32_t* grid, int w, int h, int moveX, int moveY, int level);
    bool AddSymmetries(const int32_t* grid, int w, int h, int moveX, int moveY, int level);

    int EffectiveLayerLimit() const { return layerLimit > 0 ? layerLimit : kDefaultLayerLimit; }

private:
    // The planes of a search with what is derived from them (PlaneMatching.cpp).
    MatchPlane SideStones(int side);
    MatchPlane SideEmpties();
    MatchPlane TemplateStones();
    MatchPlane TemplateEmpties();
    // The digest of the layer scanned last, which may already know how a
    // pattern of that layer matches.
    const LayerDigest* scannedDigest_ = nullptr;

    struct Region {
        int top = 0;
        int bottom = 0;
        int left = 0;
        int right = 0;
    };

    bool EnsureBuffersFor(int W, int H);
    // Adds the empty and move votes of p placed at (x0, y0) to voteMap and
    // raises the highest counts to what they reached.
    void AddPlacementVotes(const CStonePattern& p, int x0, int y0, int W, int H, int& maxMove,
                           int& maxEmpty);
    // The placements of the flags MarkMatches left in scoreMap.
    bool MarkedPlacements(const CStonePattern& p, int W, int H, PlacementSet* out);
    bool templateIsBinary_ = false;

    bool ScoreLayerForSide(int layer, const int8_t* cells, int side, int W, int H, bool& found,
                           int& maxMove, int& maxEmpty, int& matchCount);
    bool ProbeMatchesLayer(int layer, int8_t* cells, int probeSide, int W, int H);

    bool FindWinningLine(const int32_t* board, int side, int W, int H);
    bool GrowRegion(int side, int W, int H, Region& region);
    void CutRegion(const Region& region, int W, int H);
    bool FindForcingPattern(const int32_t* board, int side, int level, Move previous, int W, int H);
    bool IsUnstoppable(const CStonePattern& p, int x0, int y0, int level, int W, int H);
    bool KnownAtLowerLayer(int level, int W, int H);
    void AppendPatternFromGrid(CPatternLayer& layer, const int32_t* grid, int w, int h, int moveX,
                               int moveY);
};

} // namespace rowstone
