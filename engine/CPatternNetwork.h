#pragma once

#include "CPatternLayer.h"
#include "CStonePattern.h"
#include "ModelError.h"
#include "Move.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rowstone {

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

    std::vector<CPatternLayer> layers;
    int32_t connectLength = 0;
    // Highest layer used for choosing and learning; <= 0 means kDefaultLayerLimit.
    int32_t layerLimit = 0;

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

    // --- Learning (Learning.cpp) ---
    bool LearnFromGame(const Move* moves, int moveCount, int W, int H);
    bool AddPattern(const int32_t* grid, int w, int h, int moveX, int moveY, int level);
    bool AddSymmetries(const int32_t* grid, int w, int h, int moveX, int moveY, int level);

    int EffectiveLayerLimit() const { return layerLimit > 0 ? layerLimit : kDefaultLayerLimit; }

private:
    struct Region {
        int top = 0;
        int bottom = 0;
        int left = 0;
        int right = 0;
    };

    bool EnsureBuffersFor(int W, int H);
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
