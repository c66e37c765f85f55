// The bit-plane matcher against the reference scoring, each measurement
// run for both in turn: a layer scan of 10,000 patterns, the worst-case
// move choice, the computer's reply with the shipped five-in-a-row model
// and learning on a large model. Run: build/bench/matching_bench
#include "CGameBoard.h"
#include "CPatternNetwork.h"
#include "PatternMatching.h"
#include "Random.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace rowstone {
namespace {

constexpr int kPatternsPerLayer = 10000;
constexpr int kWorstCaseLayers = 20;
constexpr int kLearningLayers = 10;
constexpr int kWorstCaseSide = 100;

enum Matcher { kLiteral = 0, kFast = 1 };

// A threat shape as the models hold them: a line of five to seven cells in
// one of the four directions with two or more stones and empty
// intersections, empty at both ends, sometimes crossed by a second line through one of its cells.
// One empty intersection is the move.
CStonePattern ThreatShape(std::mt19937& random) {
    constexpr int kCanvas = 13;
    std::vector<char> canvas(kCanvas * kCanvas, '-');
    const int steps[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
    auto drawLine = [&](int cx, int cy, int direction, int length, int through) {
        for (int i = 0; i < length; ++i) {
            const int x = cx + (i - through) * steps[direction][0];
            const int y = cy + (i - through) * steps[direction][1];
            char& cell = canvas[static_cast<size_t>(y * kCanvas + x)];
            const bool end = i == 0 || i == length - 1;
            if (cell == '-') {
                cell = end || random() % 3 == 0 ? '.' : 'x';
            }
        }
    };
    const int centre = kCanvas / 2;
    const int first = static_cast<int>(random() % 4);
    const int length = 5 + static_cast<int>(random() % 3);
    drawLine(centre, centre, first, length, length / 2);
    if (random() % 3 == 0) {
        const int second = (first + 1 + static_cast<int>(random() % 3)) % 4;
        const int crossLength = 5 + static_cast<int>(random() % 3);
        drawLine(centre, centre, second, crossLength, 1 + static_cast<int>(random() % 3));
    }
    int stones = 0;
    for (char cell : canvas) {
        stones += cell == 'x' ? 1 : 0;
    }
    if (stones < 2) {
        return ThreatShape(random);
    }
    int left = kCanvas, right = -1, top = kCanvas, bottom = -1;
    for (int i = 0; i < kCanvas * kCanvas; ++i) {
        if (canvas[static_cast<size_t>(i)] != '-') {
            left = std::min(left, i % kCanvas);
            right = std::max(right, i % kCanvas);
            top = std::min(top, i / kCanvas);
            bottom = std::max(bottom, i / kCanvas);
        }
    }
    CStonePattern p;
    p.Allocate(right - left + 1, bottom - top + 1, 3);
    bool moveMarked = false;
    for (int r = 0; r < p.height; ++r) {
        for (int c = 0; c < p.width; ++c) {
            const char cell = canvas[static_cast<size_t>((top + r) * kCanvas + left + c)];
            p.At(0, r, c) = cell == 'x';
            p.At(1, r, c) = cell == '.';
            if (cell == '.' && !moveMarked && random() % 2 == 0) {
                p.At(2, r, c) = 1;
                moveMarked = true;
            }
        }
    }
    p.ComputeThreshold();
    return p;
}

CPatternLayer ThreatLayer(int count, std::mt19937& random) {
    CPatternLayer layer;
    layer.patterns.reserve(static_cast<size_t>(count));
    while (layer.patternCount() < count) {
        layer.patterns.push_back(ThreatShape(random));
    }
    return layer;
}

// density of the cells hold a stone, of either side alike.
std::vector<int8_t> RandomPosition(int side, double density, std::mt19937& random) {
    std::vector<int8_t> cells(static_cast<size_t>(side * side), 0);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int8_t& cell : cells) {
        if (unit(random) < density) {
            cell = static_cast<int8_t>(unit(random) < 0.5 ? -1 : 1);
        }
    }
    return cells;
}

const CPatternLayer& ScanLayer() {
    static const CPatternLayer layer = [] {
        std::mt19937 random(1);
        return ThreatLayer(kPatternsPerLayer, random);
    }();
    return layer;
}

// Layer scan: every pattern of one layer matched for one side, as the
// move choice does it (all placements wanted).
void BM_LayerScan(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const bool dense = state.range(1) != 0;
    const bool fast = state.range(2) == kFast;
    std::mt19937 random(static_cast<uint32_t>(side));
    const std::vector<int8_t> cells = RandomPosition(side, dense ? 0.7 : 0.0, random);
    const CPatternLayer& layer = ScanLayer();
    CPatternNetwork network;
    network.EnsureBuffers(side, side);
    network.layers.push_back(layer);
    const std::vector<CStonePattern>& patterns = network.layers[0].patterns;
    const int count = static_cast<int>(patterns.size());
    int matched = 0;
    for (auto _ : state) {
        matched = 0;
        if (fast) {
            // As the move choice scans: the layer's digest passes over the
            // patterns that cannot match, the planes match the rest.
            network.LoadCellPlanes(cells.data(), side, side);
            for (int i = network.NextOnSidePlanes(0, 0, 1, side, side); i < count;
                 i = network.NextOnSidePlanes(0, i + 1, 1, side, side)) {
                bool found = false;
                network.MatchCells(patterns[static_cast<size_t>(i)], cells.data(), 1, side, side,
                                   &network.placements, false, found);
                matched += found ? 1 : 0;
            }
        } else {
            for (const CStonePattern& p : patterns) {
                const bool found =
                    ScoreGrid(network.scoreMap.data(), cells.data(), p, 1, side, side) &&
                    MarkMatches(network.scoreMap.data(), side, side, p.threshold);
                matched += found ? 1 : 0;
            }
        }
        benchmark::DoNotOptimize(matched);
    }
    state.counters["patterns_matched"] = matched;
}
BENCHMARK(BM_LayerScan)
    ->ArgNames({"side", "dense", "fast"})
    ->Args({15, 1, kLiteral})
    ->Args({15, 1, kFast})
    ->Args({15, 0, kLiteral})
    ->Args({15, 0, kFast})
    ->Args({100, 1, kLiteral})
    ->Args({100, 1, kFast})
    ->Args({100, 0, kLiteral})
    ->Args({100, 0, kFast})
    ->Unit(benchmark::kMicrosecond);

// A 100x100 opening: 40 stones of each side scattered over the middle.
std::vector<int8_t> WorstCasePosition() {
    std::mt19937 random(3);
    std::vector<int8_t> cells(kWorstCaseSide * kWorstCaseSide, 0);
    std::uniform_int_distribution<int> coordinate(30, 69);
    for (int placed = 0; placed < 80;) {
        const size_t i =
            static_cast<size_t>(coordinate(random) * kWorstCaseSide + coordinate(random));
        if (cells[i] == 0) {
            cells[i] = static_cast<int8_t>(placed % 2 == 0 ? -1 : 1);
            ++placed;
        }
    }
    return cells;
}

// 20 layers of 10,000 threat shapes none of which matches the position
// for either side, so that the move choice searches every one of them.
CPatternNetwork& WorstCaseNetwork(const std::vector<int8_t>& cells) {
    static CPatternNetwork network = [&cells] {
        CPatternNetwork built;
        built.CreateLayers(kWorstCaseLayers + 1);
        built.BuildLineLayer(5);
        built.ComputeThresholds();
        built.LoadCellPlanes(cells.data(), kWorstCaseSide, kWorstCaseSide);
        std::mt19937 random(5);
        for (int k = 1; k <= kWorstCaseLayers; ++k) {
            auto& patterns = built.layers[static_cast<size_t>(k)].patterns;
            while (static_cast<int>(patterns.size()) < kPatternsPerLayer) {
                CStonePattern p = ThreatShape(random);
                bool black = false;
                bool white = false;
                built.MatchCells(p, cells.data(), -1, kWorstCaseSide, kWorstCaseSide, nullptr, true,
                                 black);
                built.MatchCells(p, cells.data(), 1, kWorstCaseSide, kWorstCaseSide, nullptr, true,
                                 white);
                if (!black && !white) {
                    patterns.push_back(std::move(p));
                }
            }
        }
        return built;
    }();
    return network;
}

void BM_WorstCaseMove(benchmark::State& state) {
    std::vector<int8_t> cells = WorstCasePosition();
    CPatternNetwork& network = WorstCaseNetwork(cells);
    network.referenceMatching = state.range(0) == kLiteral;
    bool found = true;
    for (auto _ : state) {
        int x = 0;
        int y = 0;
        found = network.FindMove(cells.data(), 1, kWorstCaseSide, kWorstCaseSide, x, y);
        benchmark::DoNotOptimize(x);
    }
    network.referenceMatching = false;
    if (found) {
        state.SkipWithError("a pattern matched: the position is not the worst case");
    }
}
BENCHMARK(BM_WorstCaseMove)
    ->ArgName("fast")
    ->Arg(kLiteral)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WorstCaseMove)->ArgName("fast")->Arg(kFast)->Unit(benchmark::kMillisecond);

bool LoadShippedModel(CGameBoard& board) {
    std::ifstream file(ROWSTONE_SHIPPED_MODEL, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    int w = 0, h = 0, n = 0;
    return board.LoadModel(w, h, n, bytes.data(), bytes.size());
}

// Positions with the computer to move, from games of the shipped model
// against a player who plays the model's move or, one time in three, at
// random.
struct Position {
    std::vector<int8_t> cells;
    int moveCount;
};

std::vector<Position> ReplyPositions(CGameBoard& board) {
    std::vector<Position> positions;
    board.learningEnabled = false;
    SeedRandom(9);
    for (int game = 0; game < 30; ++game) {
        board.NewGame();
        while (!board.gameOver) {
            int x = 0, y = 0;
            if (board.sideToMove == 1) {
                positions.push_back({board.cells, board.moveCount});
                board.ChooseMove(x, y);
            } else if (NextRandom() % 3 == 0) {
                board.ChooseRandomMove(x, y);
            } else {
                board.ChooseMove(x, y);
            }
            board.PlaceStone(nullptr, x, y);
        }
    }
    return positions;
}

void BM_ShippedModelReply(benchmark::State& state) {
    CGameBoard board;
    if (!LoadShippedModel(board)) {
        state.SkipWithError("cannot load " ROWSTONE_SHIPPED_MODEL);
        return;
    }
    const std::vector<Position> positions = ReplyPositions(board);
    board.network.referenceMatching = state.range(0) == kLiteral;
    std::vector<double> micros;
    size_t next = 0;
    for (auto _ : state) {
        const Position& position = positions[next++ % positions.size()];
        state.PauseTiming();
        board.cells = position.cells;
        board.moveCount = position.moveCount;
        board.sideToMove = 1;
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        int x = 0, y = 0;
        board.ChooseMove(x, y);
        const auto stop = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
    }
    std::sort(micros.begin(), micros.end());
    state.counters["positions"] = static_cast<double>(positions.size());
    state.counters["p50_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    state.counters["max_us"] = micros.back();
}
BENCHMARK(BM_ShippedModelReply)
    ->ArgName("fast")
    ->Arg(kLiteral)
    ->Arg(kFast)
    ->Unit(benchmark::kMicrosecond);

// A network of ten layers of 10,000 generated threat shapes and, of 40
// games the shipped model won, the one from which it learns the most.
struct LearningCase {
    CPatternNetwork network;
    std::vector<Move> moves;
    int patternsLearned = 0;
};

// Learns the game and cuts the network back to what it was; returns the
// number of patterns the game added.
int LearnAndForget(CPatternNetwork& network, const std::vector<Move>& moves) {
    const size_t layers = network.layers.size();
    std::vector<size_t> counts;
    for (const CPatternLayer& layer : network.layers) {
        counts.push_back(layer.patterns.size());
    }
    network.LearnFromGame(moves.data(), static_cast<int>(moves.size()), 15, 15);
    int added = 0;
    for (size_t k = 0; k < network.layers.size(); ++k) {
        added += network.layers[k].patternCount() - (k < layers ? static_cast<int>(counts[k]) : 0);
    }
    network.layers.resize(layers);
    for (size_t k = 0; k < layers; ++k) {
        network.layers[k].patterns.resize(counts[k]);
    }
    return added;
}

LearningCase& Learning() {
    static LearningCase learning = [] {
        LearningCase built;
        built.network.CreateLayers(kLearningLayers + 1);
        built.network.BuildLineLayer(5);
        built.network.ComputeThresholds();
        std::mt19937 random(6);
        for (int k = 1; k <= kLearningLayers; ++k) {
            built.network.layers[static_cast<size_t>(k)] = ThreatLayer(kPatternsPerLayer, random);
        }
        built.network.layerLimit = kLearningLayers;
        CGameBoard board;
        LoadShippedModel(board);
        board.learningEnabled = false;
        SeedRandom(4);
        for (int game = 0; game < 40; ++game) {
            board.NewGame();
            while (!board.gameOver) {
                int x = 0, y = 0;
                if (board.sideToMove == -1 && NextRandom() % 4 == 0) {
                    board.ChooseRandomMove(x, y);
                } else {
                    board.ChooseMove(x, y);
                }
                board.PlaceStone(nullptr, x, y);
            }
            if (board.sideToMove != 1) {
                continue;
            }
            const std::vector<Move> moves(board.moves.begin(),
                                          board.moves.begin() + board.moveCount);
            const int added = LearnAndForget(built.network, moves);
            if (added > built.patternsLearned) {
                built.patternsLearned = added;
                built.moves = moves;
            }
        }
        return built;
    }();
    return learning;
}

void BM_LearnFromGame(benchmark::State& state) {
    LearningCase& learning = Learning();
    CPatternNetwork& network = learning.network;
    network.referenceMatching = state.range(0) == kLiteral;
    int added = 0;
    for (auto _ : state) {
        // Each pass learns the game afresh; cutting the network back is
        // part of the measured time but small beside the learning.
        added = LearnAndForget(network, learning.moves);
    }
    network.referenceMatching = false;
    state.counters["moves"] = static_cast<double>(learning.moves.size());
    state.counters["patterns_added"] = added;
}
BENCHMARK(BM_LearnFromGame)
    ->ArgName("fast")
    ->Arg(kLiteral)
    ->Arg(kFast)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace rowstone
