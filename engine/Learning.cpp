// Learning from won games: the winning shape and the shapes that forced the
// win are stored as new patterns, one layer per step back through the
// winner's moves, in all eight orientations.
#include "CPatternNetwork.h"

#include <algorithm>

namespace rowstone {

namespace {

// Planes of a two-plane map of n cells: required stones, then required empties.
struct Planes {
    int32_t* stones;
    int32_t* empties;
};

Planes Split(int32_t* planes, int n) {
    return {planes, planes + n};
}

void AddPatternOverWindow(const CStonePattern& p, int x0, int y0, int W, Planes target) {
    for (int r = 0; r < p.height; ++r) {
        for (int c = 0; c < p.width; ++c) {
            const int i = (y0 + r) * W + x0 + c;
            target.stones[i] += p.At(0, r, c);
            target.empties[i] += p.At(1, r, c);
        }
    }
}

// Adds q's empty plane placed at (x0, y0) to coverage and raises best to
// the highest count it reached. Where q's mask is exact its empty cells
// are the plane's only non-zero values, and cells left unchanged cannot
// raise the highest count.
void AddEmptyCoverage(const CStonePattern& q, int x0, int y0, int W, int32_t* coverage, int& best) {
    if (q.mask.exact && q.mask.requiredCount == q.threshold) {
        const PatternMask::Cell* cells = q.mask.Empties();
        for (int k = 0; k < q.mask.emptyCount; ++k) {
            int32_t& count = coverage[(y0 + cells[k].row) * W + x0 + cells[k].column];
            best = std::max(best, ++count);
        }
        return;
    }
    for (int r = 0; r < q.height; ++r) {
        for (int c = 0; c < q.width; ++c) {
            const int i = (y0 + r) * W + x0 + c;
            coverage[i] += q.At(1, r, c);
            best = std::max(best, coverage[i]);
        }
    }
}

bool GridPlanesEqual(const CStonePattern& p, const int32_t* grid, int w, int h) {
    const int m = w * h;
    for (int plane = 0; plane < 2; ++plane) {
        for (int i = 0; i < m; ++i) {
            if (p.values[static_cast<size_t>(plane * m + i)] != grid[plane * m + i]) {
                return false;
            }
        }
    }
    return true;
}

// One orientation of a two-plane w x h grid written into out; returns the
// new width and height and carries the move position along.
struct Image {
    int width;
    int height;
    int moveX;
    int moveY;
};

Image Transpose(const int32_t* grid, Image source, int32_t* out) {
    const int m = source.width * source.height;
    for (int plane = 0; plane < 2; ++plane) {
        for (int r = 0; r < source.height; ++r) {
            for (int c = 0; c < source.width; ++c) {
                out[plane * m + c * source.height + r] = grid[plane * m + r * source.width + c];
            }
        }
    }
    return {source.height, source.width, source.moveY, source.moveX};
}

Image MirrorLeftRight(const int32_t* grid, Image source, int32_t* out) {
    const int m = source.width * source.height;
    for (int plane = 0; plane < 2; ++plane) {
        for (int r = 0; r < source.height; ++r) {
            for (int c = 0; c < source.width; ++c) {
                out[plane * m + r * source.width + (source.width - 1 - c)] =
                    grid[plane * m + r * source.width + c];
            }
        }
    }
    return {source.width, source.height, source.width - 1 - source.moveX, source.moveY};
}

Image MirrorTopBottom(const int32_t* grid, Image source, int32_t* out) {
    const int m = source.width * source.height;
    for (int plane = 0; plane < 2; ++plane) {
        for (int r = 0; r < source.height; ++r) {
            for (int c = 0; c < source.width; ++c) {
                out[plane * m + (source.height - 1 - r) * source.width + c] =
                    grid[plane * m + r * source.width + c];
            }
        }
    }
    return {source.width, source.height, source.moveX, source.height - 1 - source.moveY};
}

} // namespace

void CPatternNetwork::AppendPatternFromGrid(CPatternLayer& layer, const int32_t* grid, int w, int h,
                                            int moveX, int moveY) {
    const uint64_t before = PatternMask::Revision();
    const CStonePattern* dataBefore = layer.patterns.data();
    const size_t sizeBefore = layer.patterns.size();
    CStonePattern& p = layer.AppendPattern();
    p.Allocate(w, h, 3);
    const int m = w * h;
    for (int i = 0; i < 2 * m; ++i) {
        p.values[static_cast<size_t>(i)] = static_cast<int8_t>(grid[i]);
    }
    p.At(2, moveY, moveX) = 1;
    p.ComputeThreshold();
    // Only this layer changed, by one pattern at its end: the digests of
    // all layers stay valid.
    for (CPatternLayer& l : layers) {
        const bool appended = &l == &layer;
        l.digest.KeepAcross(l.patterns, before, appended ? dataBefore : l.patterns.data(),
                            appended ? sizeBefore : l.patterns.size());
    }
}

bool CPatternNetwork::AddPattern(const int32_t* grid, int w, int h, int moveX, int moveY,
                                 int level) {
    if (grid == nullptr || w < 1 || h < 1 || w > CStonePattern::kMaxSide ||
        h > CStonePattern::kMaxSide || w * h < 2 || moveX < 0 || moveX >= w || moveY < 0 ||
        moveY >= h || level < 0 || level >= layerCount()) {
        return false;
    }
    CPatternLayer& layer = layers[static_cast<size_t>(level)];
    for (CStonePattern& p : layer.patterns) {
        if (p.width == w && p.height == h && p.planeCount >= 3 && GridPlanesEqual(p, grid, w, h)) {
            p.At(2, moveY, moveX) = 1;
            return true;
        }
    }
    AppendPatternFromGrid(layer, grid, w, h, moveX, moveY);
    return true;
}

bool CPatternNetwork::AddSymmetries(const int32_t* grid, int w, int h, int moveX, int moveY,
                                    int level) {
    if (grid == nullptr || w < 1 || h < 1 ||
        int64_t{w} * h * 4 > static_cast<int64_t>(scratch.size())) {
        return false;
    }
    const size_t m = static_cast<size_t>(w) * static_cast<size_t>(h);
    int32_t* base = scratch.data();
    int32_t* turned = scratch.data() + 2 * m;
    const Image source{w, h, moveX, moveY};
    bool ok = true;
    auto store = [&](const int32_t* image, Image shape) {
        ok = AddPattern(image, shape.width, shape.height, shape.moveX, shape.moveY, level) && ok;
    };

    // 1: transpose of the source.
    store(turned, Transpose(grid, source, turned));
    // 2, 3: mirror left-right and its transpose.
    Image mirrored = MirrorLeftRight(grid, source, base);
    store(base, mirrored);
    store(turned, Transpose(base, mirrored, turned));
    // 4, 5: mirror top-bottom and its transpose.
    Image flipped = MirrorTopBottom(grid, source, base);
    store(base, flipped);
    store(turned, Transpose(base, flipped, turned));
    // 6, 7: the half turn (mirror left-right of image 4) and its transpose.
    const Image halfTurn = MirrorLeftRight(base, flipped, turned);
    std::copy(turned, turned + 2 * m, base);
    store(base, halfTurn);
    store(turned, Transpose(base, halfTurn, turned));
    return ok;
}

bool CPatternNetwork::FindWinningLine(const int32_t* board, int side, int W, int H) {
    const int n = W * H;
    if (!LoadReplayPlanes(board, W, H)) {
        return false;
    }
    const std::vector<CStonePattern>& patterns = layers[0].patterns;
    for (int i = NextOnSidePlanes(0, 0, side, W, H); i < static_cast<int>(patterns.size());
         i = NextOnSidePlanes(0, i + 1, side, W, H)) {
        const CStonePattern& line = patterns[static_cast<size_t>(i)];
        bool found = false;
        if (!line.Fits(W, H) || !MatchReplay(line, board, side, W, H, &placements, false, found) ||
            !found) {
            continue;
        }
        bool stored = false;
        placements.ForEach([&](int x0, int y0) {
            std::fill(templateMap.begin(), templateMap.begin() + 2 * n, 0);
            AddPatternOverWindow(line, x0, y0, W, Split(templateMap.data(), n));
            stored = true;
            return false;
        });
        if (stored) {
            return true;
        }
    }
    return false;
}

bool CPatternNetwork::GrowRegion(int side, int W, int H, Region& region) {
    const int n = W * H;
    const Planes t = Split(templateMap.data(), n);
    const Planes r = Split(voteMap.data(), n);
    for (int i = 0; i < n; ++i) {
        if (t.stones[i] > 0 || t.empties[i] > 0) {
            if (replayBoard[static_cast<size_t>(i)] == side) {
                r.stones[i] = 1;
            }
            if (replayBoard[static_cast<size_t>(i)] == 0) {
                r.empties[i] = 1;
            }
        }
    }
    bool any = false;
    region = {H, -1, W, -1};
    for (int i = 0; i < n; ++i) {
        if (r.stones[i] != 0 || r.empties[i] != 0) {
            any = true;
            region.top = std::min(region.top, i / W);
            region.bottom = std::max(region.bottom, i / W);
            region.left = std::min(region.left, i % W);
            region.right = std::max(region.right, i % W);
        }
    }
    return any;
}

void CPatternNetwork::CutRegion(const Region& region, int W, int H) {
    const int n = W * H;
    const Planes r = Split(voteMap.data(), n);
    const int rw = region.right - region.left + 1;
    const int rh = region.bottom - region.top + 1;
    int32_t* out = regionGrid.data();
    for (int y = 0; y < rh; ++y) {
        for (int x = 0; x < rw; ++x) {
            const int i = (region.top + y) * W + region.left + x;
            out[y * rw + x] = r.stones[i];
            out[rw * rh + y * rw + x] = r.empties[i];
        }
    }
}

bool CPatternNetwork::IsUnstoppable(const CStonePattern& p, int x0, int y0, int level, int W,
                                    int H) {
    const int n = W * H;
    // K: the region with the shape placed into it, then Q (empty-plane
    // coverage), both in scratch.
    const Planes region = Split(voteMap.data(), n);
    const Planes k = Split(scratch.data(), n);
    int32_t* coverage = scratch.data() + 2 * n;
    std::copy(region.stones, region.stones + n, k.stones);
    std::copy(region.empties, region.empties + n, k.empties);
    for (int r = 0; r < p.height; ++r) {
        for (int c = 0; c < p.width; ++c) {
            const int i = (y0 + r) * W + x0 + c;
            k.stones[i] = (region.stones[i] != 0 || p.At(0, r, c) != 0) ? 1 : 0;
            k.empties[i] = (region.empties[i] != 0 || p.At(1, r, c) != 0) ? 1 : 0;
        }
    }
    std::fill(coverage, coverage + n, 0);
    if (!LoadTemplatePlanes(k.stones, W, H)) {
        return false;
    }
    int best = 0;
    int total = 0;
    for (int layer = 1; layer <= level; ++layer) {
        const std::vector<CStonePattern>& patterns = layers[static_cast<size_t>(layer)].patterns;
        for (int i = NextOnTemplatePlanes(layer, 0, W, H); i < static_cast<int>(patterns.size());
             i = NextOnTemplatePlanes(layer, i + 1, W, H)) {
            const CStonePattern& q = patterns[static_cast<size_t>(i)];
            if (!q.Fits(W, H)) {
                continue;
            }
            bool found = false;
            if (!MatchTemplate(q, k.stones, W, H, &innerPlacements, false, found)) {
                return false;
            }
            if (!found) {
                continue;
            }
            innerPlacements.ForEach([&](int qx, int qy) {
                ++total;
                AddEmptyCoverage(q, qx, qy, W, coverage, best);
                return true;
            });
            if (best < total) {
                return true;
            }
        }
    }
    return best < total;
}

bool CPatternNetwork::FindForcingPattern(const int32_t* board, int side, int level, Move previous,
                                         int W, int H) {
    if (level < 1 || level >= layerCount() || previous.x < 0 || previous.x >= W || previous.y < 0 ||
        previous.y >= H) {
        return false;
    }
    const int n = W * H;
    const Planes region = Split(voteMap.data(), n);
    const int b = previous.y * W + previous.x;
    if (!LoadReplayPlanes(board, W, H)) {
        return false;
    }
    for (int layer = 1; layer <= level; ++layer) {
        const std::vector<CStonePattern>& patterns = layers[static_cast<size_t>(layer)].patterns;
        for (int i = NextOnSidePlanes(layer, 0, side, W, H); i < static_cast<int>(patterns.size());
             i = NextOnSidePlanes(layer, i + 1, side, W, H)) {
            const CStonePattern& p = patterns[static_cast<size_t>(i)];
            if (!p.Fits(W, H)) {
                continue;
            }
            bool found = false;
            if (!MatchReplay(p, board, side, W, H, &placements, false, found)) {
                return false;
            }
            if (!found) {
                continue;
            }
            std::fill(templateMap.begin(), templateMap.begin() + 2 * n, 0);
            bool stored = false;
            placements.ForEach([&](int x0, int y0) {
                bool sharesStone = false;
                for (int r = 0; r < p.height && !sharesStone; ++r) {
                    for (int c = 0; c < p.width && !sharesStone; ++c) {
                        sharesStone =
                            region.stones[(y0 + r) * W + x0 + c] != 0 && p.At(0, r, c) != 0;
                    }
                }
                const int bx = previous.x - x0;
                const int by = previous.y - y0;
                const bool previousIsShapeStone =
                    bx >= 0 && bx < p.width && by >= 0 && by < p.height && p.At(0, by, bx) != 0;
                if (sharesStone && region.stones[b] != 0 && previousIsShapeStone &&
                    IsUnstoppable(p, x0, y0, level, W, H)) {
                    AddPatternOverWindow(p, x0, y0, W, Split(templateMap.data(), n));
                    stored = true;
                    return false;
                }
                return true;
            });
            if (stored) {
                return true;
            }
        }
    }
    return false;
}

bool CPatternNetwork::KnownAtLowerLayer(int level, int W, int H) {
    if (level < 1 || level >= layerCount()) {
        return false;
    }
    if (!LoadTemplatePlanes(voteMap.data(), W, H)) {
        return false;
    }
    for (int layer = 1; layer < level; ++layer) {
        const std::vector<CStonePattern>& patterns = layers[static_cast<size_t>(layer)].patterns;
        for (int i = NextOnTemplatePlanes(layer, 0, W, H); i < static_cast<int>(patterns.size());
             i = NextOnTemplatePlanes(layer, i + 1, W, H)) {
            const CStonePattern& q = patterns[static_cast<size_t>(i)];
            if (!q.Fits(W, H)) {
                continue;
            }
            bool found = false;
            if (!MatchTemplate(q, voteMap.data(), W, H, nullptr, true, found)) {
                return false;
            }
            if (found) {
                return true;
            }
        }
    }
    return false;
}

bool CPatternNetwork::LearnFromGame(const Move* moves, int moveCount, int W, int H) {
    if (moves == nullptr || moveCount < 1 || W < 1 || H < 1 || layers.empty() ||
        !EnsureBuffersFor(W, H)) {
        return false;
    }
    const int n = W * H;
    const int s = moves[moveCount - 1].side;
    Move current = moves[moveCount - 1];
    auto at = [W](Move m) { return static_cast<size_t>(m.y * W + m.x); };

    std::fill(replayBoard.begin(), replayBoard.begin() + n, 0);
    for (int i = 0; i < moveCount; ++i) {
        replayBoard[at(moves[i])] = moves[i].side;
    }
    if (!FindWinningLine(replayBoard.data(), s, W, H)) {
        return false;
    }
    replayBoard[at(current)] = 0;
    std::fill(voteMap.begin(), voteMap.begin() + 2 * n, 0);
    Region region;
    if (!GrowRegion(s, W, H, region)) {
        return false;
    }

    const int limit = EffectiveLayerLimit();
    int level = 1;
    int remaining = moveCount;
    int k = moveCount - 2;
    int consumed = 0;
    for (;;) {
        CutRegion(region, W, H);
        const int rw = region.right - region.left + 1;
        const int rh = region.bottom - region.top + 1;
        const int moveX = current.x - region.left;
        const int moveY = current.y - region.top;
        if (layerCount() <= level) {
            AppendPatternFromGrid(AppendLayer(), regionGrid.data(), rw, rh, moveX, moveY);
        } else {
            AddPattern(regionGrid.data(), rw, rh, moveX, moveY, level);
        }
        AddSymmetries(regionGrid.data(), rw, rh, moveX, moveY, level);
        if (level >= limit || remaining < 3) {
            break;
        }
        // Would one opponent stone on the winner's next intersection have
        // stopped the win? Only if the previous move left no forcing shape.
        replayBoard[at(current)] = -s;
        replayBoard[at(moves[k])] = 0;
        if (!FindForcingPattern(replayBoard.data(), s, level, moves[k - 1], W, H)) {
            break;
        }
        ++level;
        remaining -= 2;
        replayBoard[at(current)] = 0;
        current = moves[k - 1];
        replayBoard[at(current)] = 0;
        voteMap[at(current)] = 0;
        voteMap[static_cast<size_t>(n) + at(current)] = 1;
        k -= 2;
        if (!GrowRegion(s, W, H, region)) {
            break;
        }
        if (KnownAtLowerLayer(level, W, H)) {
            break;
        }
        consumed += 2;
        if (consumed >= moveCount) {
            break;
        }
    }
    return true;
}

} // namespace rowstone
