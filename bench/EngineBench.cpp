// Move choice, win test and learning on a 15x15 five-in-a-row grid with a
// network of realistic size. Run: build/bench/engine_bench
#include "CGameBoard.h"
#include "CPatternNetwork.h"
#include "Random.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace rowstone {
namespace {

constexpr int kSide = 15;

// Layers of line threats of growing reach, in every direction, learned from
// won games so they are the shapes a real model holds.
CGameBoard TrainedBoard() {
    CGameBoard board;
    board.network.CreateLayers(2);
    board.network.BuildLineLayer(5);
    board.network.ComputeThresholds();
    board.width = board.height = kSide;
    board.connectLength = 5;
    board.cells.assign(kSide * kSide, 0);
    board.moves.assign(kSide * kSide, Move{});
    SeedRandom(11);
    for (int game = 0; game < 40; ++game) {
        board.NewGame();
        while (!board.gameOver) {
            int x = 0, y = 0;
            board.ChooseMove(x, y);
            board.PlaceStone(nullptr, x, y);
        }
    }
    return board;
}

std::vector<int8_t> MiddleGame() {
    std::vector<int8_t> cells(kSide * kSide, 0);
    const int stones[][3] = {{7, 7, -1}, {8, 8, 1}, {6, 8, -1}, {8, 6, 1}, {8, 7, -1},
                             {6, 6, 1},  {9, 7, -1}, {7, 9, 1}, {5, 5, -1}, {10, 10, 1}};
    for (const auto& s : stones) {
        cells[static_cast<size_t>(s[1] * kSide + s[0])] = static_cast<int8_t>(s[2]);
    }
    return cells;
}

void BM_FindMove(benchmark::State& state) {
    CGameBoard board = TrainedBoard();
    std::vector<int8_t> cells = MiddleGame();
    state.counters["layer1_patterns"] = board.network.layers[1].patternCount();
    state.counters["layers"] = board.network.layerCount();
    for (auto _ : state) {
        int x = 0, y = 0;
        benchmark::DoNotOptimize(board.network.FindMove(cells.data(), 1, kSide, kSide, x, y));
    }
}
BENCHMARK(BM_FindMove);

void BM_IsWin(benchmark::State& state) {
    CGameBoard board = TrainedBoard();
    const std::vector<int8_t> cells = MiddleGame();
    for (auto _ : state) {
        benchmark::DoNotOptimize(board.network.IsWin(cells.data(), -1, kSide, kSide));
    }
}
BENCHMARK(BM_IsWin);

} // namespace
} // namespace rowstone
