// The bit-plane matcher against the reference scoring: identical match sets
// on random and played positions, and identical moves and learning.
#include "CGameBoard.h"
#include "CPatternNetwork.h"
#include "ModelBuilder.h"
#include "PatternMatching.h"
#include "Random.h"
#include "TestModels.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace rowstone {
namespace {

struct Grid {
    int width;
    int height;
};

// Grids of one word per row, several words, exact word multiples and the
// largest the network handles.
const Grid kGrids[] = {{2, 1},  {3, 3},     {15, 15}, {16, 16}, {19, 7},  {63, 5}, {64, 64},
                       {65, 3}, {100, 100}, {128, 2}, {129, 4}, {255, 6}, {5, 255}};

const double kDensities[] = {0.0, 0.15, 0.5, 0.95};

std::vector<int8_t> RandomCells(const Grid& g, double density, std::mt19937& random) {
    std::vector<int8_t> cells(static_cast<size_t>(g.width * g.height), 0);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int8_t& cell : cells) {
        if (unit(random) < density) {
            cell = static_cast<int8_t>(unit(random) < 0.5 ? -1 : 1);
        }
    }
    return cells;
}

CStonePattern RandomPattern(int maxWidth, int maxHeight, std::mt19937& random) {
    std::uniform_int_distribution<int> width(1, maxWidth);
    std::uniform_int_distribution<int> height(1, maxHeight);
    std::uniform_int_distribution<int> kind(0, 9);
    CStonePattern p;
    int w = 0;
    int h = 0;
    do {
        w = width(random);
        h = height(random);
    } while (w * h < 2);
    p.Allocate(w, h, 3);
    for (int r = 0; r < h; ++r) {
        for (int c = 0; c < w; ++c) {
            const int k = kind(random);
            p.At(0, r, c) = k == 0;
            p.At(1, r, c) = k == 1 || k == 2;
            p.At(2, r, c) = k == 2;
        }
    }
    p.ComputeThreshold();
    return p;
}

// A pattern that asks for what the cells hold in the window at (x0, y0):
// each cell becomes a requirement with probability one half.
CStonePattern PatternFromWindow(const std::vector<int8_t>& cells, const Grid& g, int side, int x0,
                                int y0, int w, int h, std::mt19937& random) {
    CStonePattern p;
    p.Allocate(w, h, 3);
    std::bernoulli_distribution keep(0.5);
    for (int r = 0; r < h; ++r) {
        for (int c = 0; c < w; ++c) {
            const int8_t cell = cells[static_cast<size_t>((y0 + r) * g.width + x0 + c)];
            if (keep(random)) {
                p.At(0, r, c) = cell == side;
                p.At(1, r, c) = cell == 0;
            }
        }
    }
    p.ComputeThreshold();
    return p;
}

// The placements the reference marks, with its found flag.
struct Matches {
    bool found = false;
    std::vector<std::pair<int, int>> placements;
    friend bool operator==(const Matches&, const Matches&) = default;
};

Matches FromMap(const std::vector<int32_t>& map, bool found, const CStonePattern& p, int W, int H) {
    Matches m{found, {}};
    for (int y0 = 0; y0 + p.height <= H; ++y0) {
        for (int x0 = 0; x0 + p.width <= W; ++x0) {
            if (map[static_cast<size_t>(y0 * W + x0)] != 0) {
                m.placements.push_back({x0, y0});
            }
        }
    }
    return m;
}

Matches FromSet(const PlacementSet& set, bool found, const CStonePattern& p, int W, int H) {
    Matches m{found, {}};
    for (int y0 = 0; y0 + p.height <= H; ++y0) {
        for (int x0 = 0; x0 + p.width <= W; ++x0) {
            if (set.Contains(x0, y0)) {
                m.placements.push_back({x0, y0});
            }
        }
    }
    int visited = 0;
    set.ForEach([&](int, int) {
        ++visited;
        return true;
    });
    EXPECT_EQ(visited, static_cast<int>(m.placements.size())) << "no placement outside the grid";
    return m;
}

// Compares every kind of matching of p on cells with the reference.
void ExpectSameMatches(CPatternNetwork& network, const CStonePattern& p,
                       const std::vector<int8_t>& cells, const Grid& g, const std::string& what) {
    const int W = g.width;
    const int H = g.height;
    if (!p.Fits(W, H)) {
        return;
    }
    std::vector<int32_t> map(static_cast<size_t>(W * H));
    std::vector<int32_t> board(cells.begin(), cells.end());
    ASSERT_TRUE(network.LoadCellPlanes(cells.data(), W, H));
    for (int side : {-1, 1}) {
        ASSERT_TRUE(ScoreGrid(map.data(), cells.data(), p, side, W, H));
        const bool found = MarkMatches(map.data(), W, H, p.threshold);
        const Matches expected = FromMap(map, found, p, W, H);
        bool fast = false;
        ASSERT_TRUE(
            network.MatchCells(p, cells.data(), side, W, H, &network.placements, false, fast));
        EXPECT_EQ(FromSet(network.placements, fast, p, W, H), expected) << what << " side " << side;
        ASSERT_TRUE(network.MatchCells(p, cells.data(), side, W, H, nullptr, true, fast));
        EXPECT_EQ(fast, found) << what << " side " << side << " (first match only)";
    }
    ASSERT_TRUE(network.LoadReplayPlanes(board.data(), W, H));
    ASSERT_TRUE(ScoreReplay(map.data(), board.data(), p, 1, W, H));
    const bool replayFound = MarkMatches(map.data(), W, H, p.threshold);
    bool fast = false;
    ASSERT_TRUE(network.MatchReplay(p, board.data(), 1, W, H, &network.placements, false, fast));
    EXPECT_EQ(FromSet(network.placements, fast, p, W, H), FromMap(map, replayFound, p, W, H))
        << what << " replay";

    // The template of side -1: its stones, then the empty intersections.
    std::vector<int32_t> planes(static_cast<size_t>(2 * W * H));
    for (size_t i = 0; i < cells.size(); ++i) {
        planes[i] = cells[i] == -1;
        planes[cells.size() + i] = cells[i] == 0;
    }
    ASSERT_TRUE(network.LoadTemplatePlanes(planes.data(), W, H));
    ASSERT_TRUE(ScoreTemplate(map.data(), planes.data(), p, W, H));
    const bool templateFound = MarkMatches(map.data(), W, H, p.threshold);
    ASSERT_TRUE(
        network.MatchTemplate(p, planes.data(), W, H, &network.innerPlacements, false, fast));
    EXPECT_EQ(FromSet(network.innerPlacements, fast, p, W, H), FromMap(map, templateFound, p, W, H))
        << what << " template";
}

TEST(BitPlaneMatcher, SameMatchesAsScoringOnRandomPositions) {
    std::mt19937 random(20261210);
    CPatternNetwork network;
    for (const Grid& g : kGrids) {
        for (double density : kDensities) {
            const auto cells = RandomCells(g, density, random);
            const std::string where = std::to_string(g.width) + "x" + std::to_string(g.height) +
                                      " density " + std::to_string(density);
            for (int i = 0; i < 12; ++i) {
                const CStonePattern p =
                    RandomPattern(std::min(g.width, 9), std::min(g.height, 9), random);
                ExpectSameMatches(network, p, cells, g,
                                  where + " random pattern " + std::to_string(i));
            }
        }
    }
}

TEST(BitPlaneMatcher, SameMatchesForPatternsAtEveryEdge) {
    // Patterns cut from the position itself at the corners and the middle
    // of every edge, so that placements on the border match.
    std::mt19937 random(7);
    CPatternNetwork network;
    for (const Grid& g : kGrids) {
        const auto cells = RandomCells(g, 0.6, random);
        const int w = std::min(g.width, 6);
        const int h = std::min(g.height, 6);
        if (w * h < 2) {
            continue;
        }
        const int xs[] = {0, (g.width - w) / 2, g.width - w};
        const int ys[] = {0, (g.height - h) / 2, g.height - h};
        for (int x0 : xs) {
            for (int y0 : ys) {
                for (int side : {-1, 1}) {
                    const CStonePattern p = PatternFromWindow(cells, g, side, x0, y0, w, h, random);
                    ExpectSameMatches(network, p, cells, g,
                                      std::to_string(g.width) + "x" + std::to_string(g.height) +
                                          " window at " + std::to_string(x0) + "," +
                                          std::to_string(y0));
                }
            }
        }
        // The whole grid as one window.
        if (g.width * g.height <= 4096) {
            const CStonePattern whole =
                PatternFromWindow(cells, g, 1, 0, 0, g.width, g.height, random);
            ExpectSameMatches(network, whole, cells, g, "whole grid");
        }
    }
}

TEST(BitPlaneMatcher, PatternsWithOtherValuesAreScored) {
    // Values beyond 0 and 1 let partial placements reach the threshold,
    // and a threshold of 0 or less marks entries where nothing is placed.
    const auto cells = test::Cells({"xx.o.x", ".x..ox", "o..x.x", "x.o..."});
    const Grid g{6, 4};
    CPatternNetwork network;
    CStonePattern weighted = test::Pattern({"x.", ".x"});
    weighted.At(0, 0, 0) = 3;
    weighted.ComputeThreshold();
    CStonePattern negative = test::Pattern({"xx", "--"});
    negative.At(0, 1, 0) = -1;
    negative.ComputeThreshold();
    CStonePattern belowZero = test::Pattern({"--", "--"});
    belowZero.At(1, 0, 0) = -2;
    belowZero.At(0, 1, 1) = 1;
    belowZero.ComputeThreshold();
    ASSERT_LT(belowZero.threshold, 0);
    const CStonePattern nothing = test::Pattern({"---", "---"});
    const CStonePattern* patterns[] = {&weighted, &negative, &belowZero, &nothing};
    for (const CStonePattern* p : patterns) {
        ExpectSameMatches(network, *p, cells, g,
                          "pattern of threshold " + std::to_string(p->threshold));
    }
}

TEST(BitPlaneMatcher, TemplatesWithCountsAreScored) {
    CPatternNetwork network;
    const CStonePattern p = test::Pattern({"xx"});
    // Stones 2 and 0 add up to the threshold 2 although one cell is missing.
    std::vector<int32_t> planes = {2, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(network.LoadTemplatePlanes(planes.data(), 4, 1));
    bool found = false;
    ASSERT_TRUE(network.MatchTemplate(p, planes.data(), 4, 1, &network.placements, false, found));
    EXPECT_TRUE(found);
    EXPECT_TRUE(network.placements.Contains(0, 0));
}

TEST(BitPlaneMatcher, RefusesWhatScoringRefuses) {
    CPatternNetwork network;
    const auto cells = test::Cells({"...", "..."});
    ASSERT_TRUE(network.LoadCellPlanes(cells.data(), 3, 2));
    bool found = true;
    EXPECT_FALSE(
        network.MatchCells(test::Pattern({"x.."}), cells.data(), 0, 3, 2, nullptr, true, found));
    EXPECT_FALSE(found);
    EXPECT_FALSE(
        network.MatchCells(test::Pattern({"x..."}), cells.data(), 1, 3, 2, nullptr, true, found));
    CStonePattern onePlane;
    onePlane.Allocate(2, 1, 1);
    onePlane.ComputeThreshold();
    EXPECT_FALSE(network.MatchCells(onePlane, cells.data(), 1, 3, 2, nullptr, true, found));
}

// What a layer scan reports: each pattern that matched, with its placements.
using ScanResult = std::vector<std::pair<int, Matches>>;

ScanResult ReferenceScan(const CPatternLayer& layer, const std::vector<int32_t>& planes,
                         const std::vector<int8_t>& cells, int side, const Grid& g) {
    ScanResult result;
    std::vector<int32_t> map(static_cast<size_t>(g.width * g.height));
    for (int i = 0; i < layer.patternCount(); ++i) {
        const CStonePattern& p = layer.patterns[static_cast<size_t>(i)];
        if (!p.Fits(g.width, g.height)) {
            continue;
        }
        const bool scored = side == 0
                                ? ScoreTemplate(map.data(), planes.data(), p, g.width, g.height)
                                : ScoreGrid(map.data(), cells.data(), p, side, g.width, g.height);
        EXPECT_TRUE(scored);
        if (MarkMatches(map.data(), g.width, g.height, p.threshold)) {
            result.push_back({i, FromMap(map, true, p, g.width, g.height)});
        }
    }
    return result;
}

// The scan as the move choice and learning run it: the layer's digest
// passes over patterns, the planes (or their pairs) match the rest. Side 0
// scans the template planes.
ScanResult PlaneScan(CPatternNetwork& network, const std::vector<int32_t>& planes,
                     const std::vector<int8_t>& cells, int side, const Grid& g) {
    ScanResult result;
    const int W = g.width;
    const int H = g.height;
    const std::vector<CStonePattern>& patterns = network.layers[0].patterns;
    auto next = [&](int from) {
        return side == 0 ? network.NextOnTemplatePlanes(0, from, W, H)
                         : network.NextOnSidePlanes(0, from, side, W, H);
    };
    for (int i = next(0); i < static_cast<int>(patterns.size()); i = next(i + 1)) {
        const CStonePattern& p = patterns[static_cast<size_t>(i)];
        if (!p.Fits(W, H)) {
            continue;
        }
        bool found = false;
        const bool matched = side == 0 ? network.MatchTemplate(p, planes.data(), W, H,
                                                               &network.placements, false, found)
                                       : network.MatchCells(p, cells.data(), side, W, H,
                                                            &network.placements, false, found);
        EXPECT_TRUE(matched);
        if (found) {
            result.push_back({i, FromSet(network.placements, true, p, W, H)});
        }
    }
    return result;
}

// A layer large enough for pair lists: random patterns and patterns cut
// from the position, so that many match, some at the grid's edges.
CPatternLayer MixedLayer(const std::vector<int8_t>& cells, const Grid& g, std::mt19937& random) {
    CPatternLayer layer;
    std::uniform_int_distribution<int> size(1, 7);
    while (layer.patternCount() < 300) {
        if (layer.patternCount() % 2 == 0) {
            layer.patterns.push_back(
                RandomPattern(std::min(g.width, 7), std::min(g.height, 7), random));
            continue;
        }
        const int w = std::min(g.width, size(random));
        const int h = std::min(g.height, size(random));
        if (w * h < 2) {
            continue;
        }
        std::uniform_int_distribution<int> x0(0, g.width - w);
        std::uniform_int_distribution<int> y0(0, g.height - h);
        layer.patterns.push_back(PatternFromWindow(cells, g, random() % 2 == 0 ? -1 : 1, x0(random),
                                                   y0(random), w, h, random));
    }
    return layer;
}

void ExpectSameScans(CPatternNetwork& network, const std::vector<int8_t>& cells, const Grid& g,
                     const std::string& what) {
    std::vector<int32_t> planes(static_cast<size_t>(2 * g.width * g.height));
    for (size_t i = 0; i < cells.size(); ++i) {
        planes[i] = cells[i] == 1;
        planes[cells.size() + i] = cells[i] == 0;
    }
    ASSERT_TRUE(network.LoadCellPlanes(cells.data(), g.width, g.height));
    ASSERT_TRUE(network.LoadTemplatePlanes(planes.data(), g.width, g.height));
    const CPatternLayer& layer = network.layers[0];
    for (int side : {-1, 1, 0}) {
        EXPECT_EQ(PlaneScan(network, planes, cells, side, g),
                  ReferenceScan(layer, planes, cells, side, g))
            << what << " side " << side;
    }
}

TEST(BitPlaneMatcher, LayerScansFindWhatScoringFinds) {
    std::mt19937 random(1210);
    const double densities[] = {0.0, 0.01, 0.04, 0.15, 0.7};
    for (const Grid& g : kGrids) {
        for (double density : densities) {
            const std::vector<int8_t> cells = RandomCells(g, density, random);
            CPatternNetwork network;
            network.CreateLayers(1);
            network.layers[0] = MixedLayer(cells, g, random);
            ExpectSameScans(network, cells, g,
                            std::to_string(g.width) + "x" + std::to_string(g.height) + " at " +
                                std::to_string(density));
        }
    }
}

TEST(BitPlaneMatcher, LayerScansFollowChangedPatternsAndPlanes) {
    const Grid g{15, 15};
    std::mt19937 random(77);
    std::vector<int8_t> cells = RandomCells(g, 0.04, random);
    CPatternNetwork network;
    network.CreateLayers(1);
    network.layers[0] = MixedLayer(cells, g, random);
    ExpectSameScans(network, cells, g, "as built");

    // A pattern changed in place and recomputed: it now asks for a pair of
    // stones at the top left, then for one the scan has not seen.
    cells[0] = cells[1] = 1;
    CStonePattern& changed = network.layers[0].patterns[5];
    changed.Allocate(2, 1, 3);
    changed.At(0, 0, 0) = changed.At(0, 0, 1) = 1;
    changed.ComputeThreshold();
    ExpectSameScans(network, cells, g, "changed pattern");

    // Patterns appended, and some taken off the end.
    for (int i = 0; i < 40; ++i) {
        network.layers[0].patterns.push_back(PatternFromWindow(cells, g, 1, 0, 0, 3, 2, random));
    }
    ExpectSameScans(network, cells, g, "appended");
    network.layers[0].patterns.resize(250);
    ExpectSameScans(network, cells, g, "shortened");

    // Patterns learnt: appended through the network right after scans (the
    // digest is kept and extended), then scanned.
    std::vector<std::vector<int32_t>> learnt;
    for (int i = 0; i < 6; ++i) {
        const CStonePattern p = PatternFromWindow(cells, g, 1, i, 2 * i, 4, 3, random);
        learnt.emplace_back(p.values.begin(), p.values.begin() + 2 * 4 * 3);
    }
    ExpectSameScans(network, cells, g, "before learning");
    // The first is learnt into a layer shortened since the last scan.
    network.layers[0].patterns.resize(240);
    for (size_t i = 0; i < learnt.size(); ++i) {
        const int before = network.layers[0].patternCount();
        ASSERT_TRUE(network.AddPattern(learnt[i].data(), 4, 3, 0, 0, 0));
        EXPECT_EQ(network.layers[0].patternCount(), before + 1);
        ExpectSameScans(network, cells, g, "learnt " + std::to_string(i));
    }

    // Probe stones placed on the loaded planes and taken back, as the move
    // choice does, with scans in between.
    ASSERT_TRUE(network.LoadCellPlanes(cells.data(), g.width, g.height));
    for (int index : {2, 16, 17, 224}) {
        if (cells[static_cast<size_t>(index)] != 0) {
            continue;
        }
        cells[static_cast<size_t>(index)] = 1;
        network.PlaceOnCellPlanes(index, 1, g.width);
        std::vector<int32_t> unused;
        EXPECT_EQ(PlaneScan(network, unused, cells, 1, g),
                  ReferenceScan(network.layers[0], unused, cells, 1, g))
            << "probe at " << index;
        cells[static_cast<size_t>(index)] = 0;
        network.TakeFromCellPlanes(index, 1, g.width);
        EXPECT_EQ(PlaneScan(network, unused, cells, 1, g),
                  ReferenceScan(network.layers[0], unused, cells, 1, g))
            << "probe taken back from " << index;
    }
}

TEST(BitPlaneMatcher, PackedPlacementsKeepTheirPlaceWhenRowsAreAdded) {
    PlacementSet set;
    ASSERT_TRUE(set.Resize(15, 15));
    // (0, 0), (14, 3) and (2, 14), packed 16 bits to a row.
    const uint64_t packed[4] = {uint64_t{1} | uint64_t{1} << (3 * 16 + 14), 0, 0,
                                uint64_t{1} << (14 * 16 + 2 - 192)};
    set.AssignPacked(packed);
    std::vector<std::pair<int, int>> seen;
    set.ForEach([&](int x0, int y0) {
        seen.push_back({x0, y0});
        return true;
    });
    const std::vector<std::pair<int, int>> expected{{0, 0}, {14, 3}, {2, 14}};
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(set.Contains(14, 3));
    EXPECT_FALSE(set.Contains(3, 14));
    set.Add(5, 3);
    seen.clear();
    set.ForEach([&](int x0, int y0) {
        seen.push_back({x0, y0});
        return true;
    });
    const std::vector<std::pair<int, int>> added{{0, 0}, {5, 3}, {14, 3}, {2, 14}};
    EXPECT_EQ(seen, added);
    set.Clear();
    EXPECT_TRUE(set.Empty());
}

// Two copies of one network, one matching on bit planes and one scoring.
struct NetworkPair {
    CPatternNetwork fast;
    CPatternNetwork reference;
};

NetworkPair BuiltPair(int connect, int layers) {
    NetworkPair pair;
    std::string reason;
    EXPECT_TRUE(tools::ModelBuilder::Build(connect, layers, pair.fast, reason)) << reason;
    EXPECT_TRUE(tools::ModelBuilder::Build(connect, layers, pair.reference, reason)) << reason;
    pair.reference.referenceMatching = true;
    return pair;
}

struct Reply {
    bool found = false;
    int x = -1;
    int y = -1;
    friend bool operator==(const Reply&, const Reply&) = default;
};

Reply FindWithSeed(CPatternNetwork& network, std::vector<int8_t>& cells, int side, int W, int H,
                   uint32_t seed) {
    SeedRandom(seed);
    Reply reply;
    reply.found = network.FindMove(cells.data(), side, W, H, reply.x, reply.y);
    return reply;
}

// Plays a game of the fast network against itself, checking at every move
// that the reference chooses the same intersection with the same random
// draws, and that the win test agrees. Returns the moves.
std::vector<Move> PlayCheckedGame(NetworkPair& pair, int W, int H, uint32_t seed, int maxMoves) {
    std::vector<int8_t> cells(static_cast<size_t>(W * H), 0);
    std::vector<Move> moves;
    int side = -1;
    std::mt19937 random(seed);
    for (int turn = 0; turn < maxMoves; ++turn) {
        const auto before = cells;
        const uint32_t drawSeed = random();
        const Reply fast = FindWithSeed(pair.fast, cells, side, W, H, drawSeed);
        EXPECT_EQ(cells, before) << "probe stones must be taken back";
        const Reply reference = FindWithSeed(pair.reference, cells, side, W, H, drawSeed);
        EXPECT_EQ(fast, reference) << "seed " << seed << " move " << turn;
        int x = fast.x;
        int y = fast.y;
        if (!fast.found) {
            // An empty intersection drawn from the seed, the nearer the
            // middle the likelier.
            std::vector<int> empties;
            for (int i = 0; i < W * H; ++i) {
                const int dx = i % W - W / 2;
                const int dy = i / W - H / 2;
                if (cells[static_cast<size_t>(i)] == 0 && (dx * dx + dy * dy <= 16 || turn > 8)) {
                    empties.push_back(i);
                }
            }
            if (empties.empty()) {
                break;
            }
            const int i = empties[random() % empties.size()];
            x = i % W;
            y = i / W;
        }
        cells[static_cast<size_t>(y * W + x)] = static_cast<int8_t>(side);
        moves.push_back({x, y, side});
        const bool won = pair.fast.IsWin(cells.data(), side, W, H);
        EXPECT_EQ(won, pair.reference.IsWin(cells.data(), side, W, H));
        if (won) {
            break;
        }
        side = -side;
    }
    return moves;
}

TEST(BitPlaneMatcher, FindMoveChoosesAsTheReferenceInPlayedGames) {
    struct Case {
        int connect;
        int layers;
        int width;
        int height;
        int games;
        int maxMoves;
    };
    // The fork layer of rows of five is slow to score on large grids: the
    // 100x100 game uses layers 1 and 2 only.
    const Case cases[] = {{5, 4, 15, 15, 3, 225},
                          {4, 3, 9, 9, 4, 81},
                          {6, 5, 30, 20, 1, 80},
                          {5, 2, 100, 100, 1, 24}};
    for (const Case& c : cases) {
        NetworkPair pair = BuiltPair(c.connect, c.layers);
        for (int game = 0; game < c.games; ++game) {
            PlayCheckedGame(pair, c.width, c.height, static_cast<uint32_t>(100 + game), c.maxMoves);
        }
    }
}

// Every pattern of every layer, drawn, for comparing two networks.
std::vector<std::string> Contents(const CPatternNetwork& network) {
    std::vector<std::string> all;
    for (const CPatternLayer& layer : network.layers) {
        std::string drawn;
        for (const CStonePattern& p : layer.patterns) {
            drawn += std::to_string(p.width) + "x" + std::to_string(p.height) + ":";
            for (int8_t v : p.values) {
                drawn += static_cast<char>('0' + v);
            }
            drawn += ' ';
        }
        all.push_back(drawn);
    }
    return all;
}

void LearnLikeTheReference(int startingShapes) {
    NetworkPair players = BuiltPair(5, 4);
    NetworkPair learners;
    std::mt19937 random(static_cast<uint32_t>(startingShapes));
    CPatternLayer shapes;
    while (shapes.patternCount() < startingShapes) {
        shapes.patterns.push_back(RandomPattern(6, 6, random));
    }
    for (CPatternNetwork* n : {&learners.fast, &learners.reference}) {
        n->CreateLayers(2);
        n->BuildLineLayer(5);
        n->layers[1] = shapes;
        n->ComputeThresholds();
    }
    learners.reference.referenceMatching = true;
    for (uint32_t seed = 1; seed <= 5; ++seed) {
        const std::vector<Move> moves = PlayCheckedGame(players, 15, 15, seed, 225);
        const bool fastLearned =
            learners.fast.LearnFromGame(moves.data(), static_cast<int>(moves.size()), 15, 15);
        const bool referenceLearned =
            learners.reference.LearnFromGame(moves.data(), static_cast<int>(moves.size()), 15, 15);
        EXPECT_EQ(fastLearned, referenceLearned) << "game " << seed;
        EXPECT_EQ(Contents(learners.fast), Contents(learners.reference)) << "game " << seed;
    }
    EXPECT_GT(learners.fast.layers[1].patternCount(), startingShapes);
}

TEST(BitPlaneMatcher, LearningStoresWhatTheReferenceStores) {
    // Networks learn from games of a built model; after each game both must
    // hold the same patterns. The first starts with the line layer only;
    // the second also with a large layer of random shapes, which is scanned
    // with pair lists and grows as it learns.
    for (const int startingShapes : {0, 300}) {
        LearnLikeTheReference(startingShapes);
    }
}

} // namespace
} // namespace rowstone
