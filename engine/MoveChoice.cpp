// The win test and the computer's move choice.
#include "CPatternNetwork.h"
#include "Random.h"

#include <algorithm>

namespace rowstone {

namespace {

int CellCount(int W, int H) {
    return W * H;
}

} // namespace

bool CPatternNetwork::IsWin(const int8_t* cells, int side, int W, int H) {
    if (cells == nullptr || W < 1 || H < 1 || layers.empty() || !EnsureBuffersFor(W, H) ||
        !LoadCellPlanes(cells, W, H)) {
        return false;
    }
    const std::vector<CStonePattern>& patterns = layers[0].patterns;
    for (int i = NextOnSidePlanes(0, 0, side, W, H); i < static_cast<int>(patterns.size());
         i = NextOnSidePlanes(0, i + 1, side, W, H)) {
        const CStonePattern& line = patterns[static_cast<size_t>(i)];
        if (!line.Fits(W, H)) {
            continue;
        }
        bool found = false;
        if (!MatchCells(line, cells, side, W, H, nullptr, true, found)) {
            return false;
        }
        if (found) {
            return true;
        }
    }
    return false;
}

bool CPatternNetwork::ScoreLayerForSide(int layer, const int8_t* cells, int side, int W, int H,
                                        bool& found, int& maxMove, int& maxEmpty, int& matchCount) {
    const std::vector<CStonePattern>& patterns = layers[static_cast<size_t>(layer)].patterns;
    for (int i = NextOnSidePlanes(layer, 0, side, W, H); i < static_cast<int>(patterns.size());
         i = NextOnSidePlanes(layer, i + 1, side, W, H)) {
        const CStonePattern& p = patterns[static_cast<size_t>(i)];
        if (!p.Fits(W, H)) {
            continue;
        }
        bool matched = false;
        if (!MatchCells(p, cells, side, W, H, &placements, false, matched)) {
            return false;
        }
        if (matched) {
            found = true;
            if (!CollectPlacementVotes(placements, p, W, H, maxMove, maxEmpty, matchCount)) {
                return false;
            }
        }
    }
    return true;
}

bool CPatternNetwork::FindMove(int8_t* cells, int side, int W, int H, int& x, int& y) {
    if (cells == nullptr || W < 1 || H < 1 || !EnsureBuffersFor(W, H) ||
        !LoadCellPlanes(cells, W, H)) {
        return false;
    }
    const int n = CellCount(W, H);
    std::fill(voteMap.begin(), voteMap.begin() + 2 * n, 0);
    const int32_t* emptyVotes = voteMap.data();
    const int32_t* moveVotes = voteMap.data() + n;
    bool found = false;
    int maxMove = 0;
    int maxEmpty = 0;
    int matchCount = 0;
    const int limit = EffectiveLayerLimit();

    for (int layer = 1; layer < layerCount(); ++layer) {
        if (!ScoreLayerForSide(layer, cells, side, W, H, found, maxMove, maxEmpty, matchCount)) {
            return false;
        }
        if (found && PickCandidate(moveVotes, cells, W, H, -side, maxMove, x, y)) {
            return true;
        }
        if (!ScoreLayerForSide(layer, cells, -side, W, H, found, maxMove, maxEmpty, matchCount)) {
            return false;
        }
        if (found) {
            const bool blockEmpties = maxMove != matchCount && maxMove < maxEmpty;
            const bool picked = blockEmpties
                                    ? PickCandidate(emptyVotes, cells, W, H, side, maxEmpty, x, y)
                                    : PickCandidate(moveVotes, cells, W, H, side, maxMove, x, y);
            if (picked) {
                return true;
            }
        }
        if (layer >= limit) {
            break;
        }
    }
    return false;
}

void CPatternNetwork::AddPlacementVotes(const CStonePattern& p, int x0, int y0, int W, int H,
                                        int& maxMove, int& maxEmpty) {
    int32_t* emptyVotes = voteMap.data();
    int32_t* moveVotes = voteMap.data() + CellCount(W, H);
    const bool hasMovePlane = p.planeCount >= 3;
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
}

bool CPatternNetwork::CollectVotes(const int32_t* matches, const CStonePattern& p, int W, int H,
                                   int& maxMove, int& maxEmpty, int& matchCount) {
    if (matches == nullptr || W < 1 || H < 1 || !p.Fits(W, H) || !EnsureBuffersFor(W, H)) {
        return false;
    }
    matchCount = 0;
    maxEmpty = 0;
    maxMove = 0;
    // Only real placements vote: a pattern with threshold 0 marks every
    // entry, but its windows exist only where it fits.
    for (int y0 = 0; y0 + p.height <= H; ++y0) {
        for (int x0 = 0; x0 + p.width <= W; ++x0) {
            if (matches[y0 * W + x0] == 0) {
                continue;
            }
            ++matchCount;
            AddPlacementVotes(p, x0, y0, W, H, maxMove, maxEmpty);
        }
    }
    return true;
}

bool CPatternNetwork::ProbeMatchesLayer(int layer, int8_t* cells, int probeSide, int W, int H) {
    const std::vector<CStonePattern>& patterns = layers[static_cast<size_t>(layer)].patterns;
    for (int i = NextOnSidePlanes(layer, 0, probeSide, W, H); i < static_cast<int>(patterns.size());
         i = NextOnSidePlanes(layer, i + 1, probeSide, W, H)) {
        const CStonePattern& p = patterns[static_cast<size_t>(i)];
        bool found = false;
        if (!p.Fits(W, H) || !MatchCells(p, cells, probeSide, W, H, nullptr, true, found)) {
            continue;
        }
        if (found) {
            return true;
        }
    }
    return false;
}

bool CPatternNetwork::PickCandidate(const int32_t* votes, int8_t* cells, int W, int H,
                                    int probeSide, int minimum, int& x, int& y) {
    if (votes == nullptr || cells == nullptr || W < 1 || H < 1 ||
        (probeSide != -1 && probeSide != 1) || !EnsureBuffersFor(W, H)) {
        return false;
    }
    const int n = CellCount(W, H);
    const int least = minimum > 1 ? minimum : 1;
    // Candidates as grid indices in scratch, in row-major order. Occupied
    // intersections are never candidates: playing or probing them would
    // overwrite a real stone.
    int32_t* candidates = scratch.data();
    int count = 0;
    for (int i = 0; i < n; ++i) {
        if (votes[i] >= least && cells[i] == 0) {
            candidates[count++] = i;
        }
    }
    if (count == 0) {
        return false;
    }
    int chosen = -1;
    if (count == 1) {
        chosen = candidates[0];
    } else {
        const int limit = EffectiveLayerLimit();
        LoadCellPlanes(cells, W, H);
        for (int layer = 1; layer < layerCount() && chosen < 0; ++layer) {
            for (int k = 0; k < count; ++k) {
                const int i = candidates[k];
                cells[i] = static_cast<int8_t>(probeSide);
                PlaceOnCellPlanes(i, probeSide, W);
                const bool matches = ProbeMatchesLayer(layer, cells, probeSide, W, H);
                TakeFromCellPlanes(i, probeSide, W);
                cells[i] = 0;
                if (matches) {
                    chosen = i;
                    break;
                }
            }
            if (layer >= limit) {
                break;
            }
        }
        if (chosen < 0) {
            chosen = candidates[NextRandom() % count];
        }
    }
    x = chosen % W;
    y = chosen / W;
    return true;
}

} // namespace rowstone
