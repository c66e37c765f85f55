#pragma once

#include "CPatternNetwork.h"
#include "DrawSurface.h"
#include "ModelError.h"
#include "Move.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rowstone {

// One game of connect-N between the player (side -1, moves first, black)
// and the computer (side +1, white) on a grid taken from the loaded model,
// together with the pattern network that plays for the computer.
class CGameBoard {
public:
    static constexpr int kMaxGridSide = 100;
    static constexpr int kMinConnectLength = 3;

    int32_t width = 0;
    int32_t height = 0;
    int32_t connectLength = 0;
    std::vector<int8_t> cells; // row-major, y * width + x; empty while no model is loaded
    int32_t sideToMove = -1;   // after the game: the winner, or 0 after a draw
    std::vector<Move> moves;   // width * height records, the first moveCount in playing order
    int32_t moveCount = 0;
    CPatternNetwork network;
    int32_t cellSize = 0;
    bool gameOver = false;
    int32_t hoverX = -1;
    int32_t hoverY = -1;
    bool learningEnabled = true;

    // Seeds the process-wide pseudo-random generator from the clock.
    CGameBoard();

    // Replaces the model. On refusal the board has no grid and error (when
    // given) says why.
    bool LoadModel(int& outWidth, int& outHeight, int& outConnectLength, const uint8_t* data,
                   size_t size, ModelError* error = nullptr);
    void Release();
    bool NewGame();

    bool HasGrid() const { return !cells.empty(); }

    // A click at client pixel (px, py) of the view, for sideToMove.
    bool PlayerMove(DrawSurface* view, int px, int py);
    // The computer's stone for sideToMove; false only without a view.
    bool ComputerMove(DrawSurface* view);
    // The computer's choice; when it came from the network, fromNetwork is
    // set (otherwise it is the random fallback).
    bool ChooseMove(int& x, int& y, bool* fromNetwork = nullptr);
    // The random fallback: the first empty cell at or after a uniformly
    // drawn index below the number of empty cells.
    bool ChooseRandomMove(int& x, int& y) const;
    // Places a stone for sideToMove at intersection (x, y), redraws, tests
    // for a win or a full board and passes the turn; the common tail of both
    // moves. False, with nothing changed, off the grid or on a stone.
    bool PlaceStone(DrawSurface* view, int x, int y);

    // Drawing (BoardDrawing.cpp).
    bool LayoutAndDrawGrid(DrawSurface* view);
    bool DrawStones(DrawSurface* view);
    bool DrawHover(DrawSurface* view, int px, int py);

    // The intersection nearest to client pixel (px, py), or false when the
    // board has not been laid out yet.
    bool PixelToIntersection(int px, int py, int& x, int& y) const;
};

} // namespace rowstone
