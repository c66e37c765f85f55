#include "PatternMatching.h"

#include <algorithm>

namespace rowstone {

namespace {

bool IsSide(int side) {
    return side == -1 || side == 1;
}

bool IsGrid(int W, int H) {
    return W >= 1 && H >= 1 && int64_t{W} * H >= 2;
}

// Scores every placement of p with cellScore(gridIndex, stoneWant, emptyWant).
template <typename CellScore>
void ScoreEveryPlacement(int32_t* out, const CStonePattern& p, int W, int H, CellScore cellScore) {
    std::fill(out, out + static_cast<size_t>(W) * static_cast<size_t>(H), 0);
    const int cellsPerPlane = p.width * p.height;
    const int8_t* stonePlane = p.values.data();
    const int8_t* emptyPlane = stonePlane + cellsPerPlane;
    for (int y0 = 0; y0 + p.height <= H; ++y0) {
        for (int x0 = 0; x0 + p.width <= W; ++x0) {
            int32_t score = 0;
            for (int r = 0; r < p.height; ++r) {
                const int rowStart = (y0 + r) * W + x0;
                for (int c = 0; c < p.width; ++c) {
                    const int k = r * p.width + c;
                    score += cellScore(rowStart + c, stonePlane[k], emptyPlane[k]);
                }
            }
            out[y0 * W + x0] = score;
        }
    }
}

} // namespace

bool ScoreGrid(int32_t* out, const int8_t* cells, const CStonePattern& p, int side, int W, int H) {
    if (out == nullptr || cells == nullptr || !IsSide(side) || !IsGrid(W, H) || !p.Fits(W, H) ||
        p.planeCount < 2) {
        return false;
    }
    ScoreEveryPlacement(out, p, W, H, [cells, side](int i, int8_t stone, int8_t empty) {
        return stone * (cells[i] == side ? 1 : 0) + empty * (cells[i] == 0 ? 1 : 0);
    });
    return true;
}

bool ScoreReplay(int32_t* out, const int32_t* board, const CStonePattern& p, int side, int W,
                 int H) {
    if (out == nullptr || board == nullptr || !IsSide(side) || !IsGrid(W, H) || !p.Fits(W, H) ||
        p.planeCount < 2) {
        return false;
    }
    ScoreEveryPlacement(out, p, W, H, [board, side](int i, int8_t stone, int8_t empty) {
        return stone * (board[i] == side ? 1 : 0) + empty * (board[i] == 0 ? 1 : 0);
    });
    return true;
}

bool ScoreTemplate(int32_t* out, const int32_t* templatePlanes, const CStonePattern& p, int W,
                   int H) {
    if (out == nullptr || templatePlanes == nullptr || W < 1 || H < 1 || !p.Fits(W, H) ||
        p.planeCount < 2) {
        return false;
    }
    const int n = W * H;
    const int32_t* stones = templatePlanes;
    const int32_t* empties = templatePlanes + n;
    ScoreEveryPlacement(out, p, W, H, [stones, empties](int i, int8_t stone, int8_t empty) {
        return stone * stones[i] + empty * empties[i];
    });
    return true;
}

bool MarkMatches(int32_t* map, int W, int H, int threshold) {
    if (map == nullptr || W < 1 || H < 1) {
        return false;
    }
    bool any = false;
    const size_t n = static_cast<size_t>(W) * static_cast<size_t>(H);
    for (size_t i = 0; i < n; ++i) {
        map[i] = map[i] >= threshold ? 1 : 0;
        any = any || map[i] != 0;
    }
    return any;
}

} // namespace rowstone
