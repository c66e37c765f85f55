#include "CGameBoard.h"

#include "Random.h"

#include <algorithm>
#include <cmath>

namespace rowstone {

CGameBoard::CGameBoard() {
    SeedRandomFromClock();
}

bool CGameBoard::LoadModel(int& outWidth, int& outHeight, int& outConnectLength,
                           const uint8_t* data, size_t size, ModelError* error) {
    Release();
    int w = 0;
    int h = 0;
    int n = 0;
    const bool parsed = network.Parse(data, size, w, h, n, error);
    width = w;
    height = h;
    connectLength = n;
    if (!parsed) {
        width = height = 0;
        return false;
    }
    network.ComputeThresholds();
    if (connectLength < kMinConnectLength || connectLength > width || width > kMaxGridSide ||
        connectLength > height || height > kMaxGridSide) {
        if (error != nullptr) {
            error->reason = "grid " + std::to_string(width) + "x" + std::to_string(height) +
                            " with connect " + std::to_string(connectLength) +
                            " is outside the playable range (connect 3 or more, at most 100 "
                            "per side, no side shorter than connect)";
            error->offset = 3;
        }
        width = height = 0;
        return false;
    }
    outWidth = width;
    outHeight = height;
    outConnectLength = connectLength;
    const size_t n2 = static_cast<size_t>(width) * static_cast<size_t>(height);
    cells.assign(n2, 0);
    moves.assign(n2, Move{});
    sideToMove = -1;
    moveCount = 0;
    hoverX = hoverY = -1;
    return true;
}

void CGameBoard::Release() {
    cells.clear();
    cells.shrink_to_fit();
    moves.clear();
    moves.shrink_to_fit();
    width = height = 0;
    sideToMove = -1;
    moveCount = 0;
    cellSize = 0;
    gameOver = false;
    hoverX = hoverY = -1;
}

bool CGameBoard::NewGame() {
    if (width < 2 || width > kMaxGridSide || cells.empty()) {
        return false;
    }
    std::fill(cells.begin(), cells.end(), 0);
    sideToMove = -1;
    moveCount = 0;
    gameOver = false;
    return true;
}

bool CGameBoard::PixelToIntersection(int px, int py, int& x, int& y) const {
    // Without a layout there is no spacing to divide by.
    if (cellSize < 1) {
        return false;
    }
    const double c = cellSize;
    x = static_cast<int>(std::trunc((px - c) / c + 0.5));
    y = static_cast<int>(std::trunc((py - c) / c + 0.5));
    return true;
}

bool CGameBoard::PlaceStone(DrawSurface* view, int x, int y) {
    if (cells.empty() || x < 0 || x >= width || y < 0 || y >= height ||
        cells[static_cast<size_t>(y * width + x)] != 0 || moveCount >= width * height) {
        return false;
    }
    cells[static_cast<size_t>(y * width + x)] = static_cast<int8_t>(sideToMove);
    moves[static_cast<size_t>(moveCount)] = Move{x, y, sideToMove};
    ++moveCount;
    DrawStones(view);
    if (network.IsWin(cells.data(), sideToMove, width, height)) {
        gameOver = true;
        if (learningEnabled) {
            network.LearnFromGame(moves.data(), moveCount, width, height);
        }
        return true;
    }
    if (moveCount >= width * height) {
        gameOver = true;
        sideToMove = 0;
        return true;
    }
    sideToMove = -sideToMove;
    return true;
}

bool CGameBoard::PlayerMove(DrawSurface* view, int px, int py) {
    if (view == nullptr || cells.empty()) {
        return false;
    }
    int x = 0;
    int y = 0;
    if (!PixelToIntersection(px, py, x, y)) {
        return false;
    }
    return PlaceStone(view, x, y);
}

bool CGameBoard::ComputerMove(DrawSurface* view) {
    if (view == nullptr) {
        return false;
    }
    int x = 0;
    int y = 0;
    if (!ChooseMove(x, y)) {
        return true;
    }
    return PlaceStone(view, x, y);
}

bool CGameBoard::ChooseMove(int& x, int& y, bool* fromNetwork) {
    if (cells.empty()) {
        return false;
    }
    if (network.FindMove(cells.data(), sideToMove, width, height, x, y)) {
        if (fromNetwork != nullptr) {
            *fromNetwork = true;
        }
        return true;
    }
    if (fromNetwork != nullptr) {
        *fromNetwork = false;
    }
    return ChooseRandomMove(x, y);
}

bool CGameBoard::ChooseRandomMove(int& x, int& y) const {
    if (cells.empty()) {
        return false;
    }
    const int total = width * height;
    const int empties = total - moveCount;
    if (empties <= 0) {
        return false;
    }
    const int start = NextRandom() % empties;
    for (int i = start; i < total; ++i) {
        if (cells[static_cast<size_t>(i)] == 0) {
            x = i % width;
            y = i / width;
            return true;
        }
    }
    return false;
}

} // namespace rowstone
