#include "CPatternNetwork.h"
#include "TestModels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rowstone {
namespace {

constexpr int kSize = 12;

// A network with the line layer for N = 5 and empty layers 1..layers.
CPatternNetwork EmptyNetwork(int layers) {
    CPatternNetwork network;
    network.CreateLayers(layers + 1);
    network.BuildLineLayer(5);
    network.ComputeThresholds();
    return network;
}

// The moves of a game in which `winner` places the given cells in order
// and its opponent answers each time on every other cell of the bottom
// rows, where it never makes a line.
std::vector<Move> Game(int winner, const std::vector<std::pair<int, int>>& winnerCells) {
    std::vector<Move> moves;
    int spare = 0;
    auto answer = [&](int side) {
        moves.push_back({(2 * spare) % kSize, kSize - 1 - 2 * ((2 * spare) / kSize), side});
        ++spare;
    };
    if (winner == 1) {
        answer(-1);
    }
    for (size_t i = 0; i < winnerCells.size(); ++i) {
        moves.push_back({winnerCells[i].first, winnerCells[i].second, winner});
        if (i + 1 < winnerCells.size()) {
            answer(-winner);
        }
    }
    return moves;
}

// Planes of a pattern in the drawing of test::Pattern: x stone, . empty,
// * empty with a move mark, - anything, m a mark alone.
std::string Drawing(const CStonePattern& p) {
    std::string rows;
    for (int r = 0; r < p.height; ++r) {
        if (r > 0) {
            rows += '/';
        }
        for (int c = 0; c < p.width; ++c) {
            const bool stone = p.At(0, r, c), empty = p.At(1, r, c), move = p.At(2, r, c);
            rows += stone ? 'x' : empty ? (move ? '*' : '.') : (move ? 'm' : '-');
        }
    }
    return rows;
}

std::vector<std::string> Drawings(const CPatternLayer& layer) {
    std::vector<std::string> all;
    for (const CStonePattern& p : layer.patterns) {
        all.push_back(Drawing(p));
    }
    return all;
}

struct LearnedWin {
    const char* name;
    std::vector<std::pair<int, int>> cells; // the winner's stones, last one winning
    std::vector<std::string> layerOne;
    friend void PrintTo(const LearnedWin& win, std::ostream* out) { *out << win.name; }
};

class LearnsASimpleWin : public testing::TestWithParam<LearnedWin> {};

TEST_P(LearnsASimpleWin, InAllOrientations) {
    for (int winner : {-1, 1}) {
        CPatternNetwork network = EmptyNetwork(1);
        network.layerLimit = 1;
        const std::vector<Move> moves = Game(winner, GetParam().cells);
        ASSERT_TRUE(
            network.LearnFromGame(moves.data(), static_cast<int>(moves.size()), kSize, kSize));
        EXPECT_EQ(Drawings(network.layers[1]), GetParam().layerOne) << "winner " << winner;
        for (const CStonePattern& p : network.layers[1].patterns) {
            EXPECT_EQ(p.threshold, 5);
        }
        EXPECT_EQ(network.layerCount(), 2);

        // The same win learned again changes nothing.
        ASSERT_TRUE(
            network.LearnFromGame(moves.data(), static_cast<int>(moves.size()), kSize, kSize));
        EXPECT_EQ(Drawings(network.layers[1]), GetParam().layerOne);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, LearnsASimpleWin,
    testing::Values(LearnedWin{"HorizontalAtTheRightEnd",
                               {{3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}},
                               {"xxxx*", "x/x/x/x/*", "*xxxx", "*/x/x/x/x"}},
                    LearnedWin{"VerticalAtTheTop",
                               {{4, 3}, {4, 4}, {4, 5}, {4, 6}, {4, 2}},
                               {"*/x/x/x/x", "*xxxx", "x/x/x/x/*", "xxxx*"}},
                    LearnedWin{"HorizontalInTheMiddle",
                               {{3, 2}, {4, 2}, {6, 2}, {7, 2}, {5, 2}},
                               {"xx*xx", "x/x/*/x/x"}},
                    LearnedWin{"Diagonal",
                               {{2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}},
                               {"x----/-x---/--x--/---x-/----*", "----x/---x-/--x--/-x---/*----",
                                "----*/---x-/--x--/-x---/x----", "*----/-x---/--x--/---x-/----x"}},
                    LearnedWin{"AntiDiagonal",
                               {{7, 1}, {6, 2}, {5, 3}, {4, 4}, {3, 5}},
                               {"----x/---x-/--x--/-x---/*----", "----*/---x-/--x--/-x---/x----",
                                "x----/-x---/--x--/---x-/----*", "*----/-x---/--x--/---x-/----x"}}),
    [](const testing::TestParamInfo<LearnedWin>& info) { return std::string(info.param.name); });

TEST(Learning, TwoLinesAtOnceLearnTheHorizontalFirst) {
    CPatternNetwork network = EmptyNetwork(1);
    network.layerLimit = 1;
    // The last stone at (6,6) completes a row and a column.
    const std::vector<Move> moves =
        Game(-1, {{2, 6}, {6, 2}, {3, 6}, {6, 3}, {4, 6}, {6, 4}, {5, 6}, {6, 5}, {6, 6}});
    ASSERT_TRUE(network.LearnFromGame(moves.data(), static_cast<int>(moves.size()), kSize, kSize));
    ASSERT_FALSE(network.layers[1].patterns.empty());
    EXPECT_EQ(Drawing(network.layers[1].patterns[0]), "xxxx*");
}

// An open four: the opponent blocks one end, the winner plays the other.
std::vector<Move> OpenFourGame() {
    return {{2, 4, -1}, {0, 0, 1},  {3, 4, -1}, {0, 8, 1}, {1, 4, -1},
            {8, 0, 1},  {4, 4, -1}, {0, 4, 1},  {5, 4, -1}};
}

TEST(Learning, TheMoveThatMadeAnOpenFourIsLearnedOneLayerUp) {
    CPatternNetwork network = EmptyNetwork(1);
    const std::vector<Move> moves = OpenFourGame();
    ASSERT_TRUE(network.LearnFromGame(moves.data(), static_cast<int>(moves.size()), 9, 9));
    ASSERT_EQ(network.layerCount(), 3);
    EXPECT_EQ(Drawings(network.layers[1]),
              (std::vector<std::string>{"xxxx*", "x/x/x/x/*", "*xxxx", "*/x/x/x/x"}));
    EXPECT_EQ(Drawings(network.layers[2]),
              (std::vector<std::string>{".xxx*.", "./x/x/x/*/.", ".*xxx.", "./*/x/x/x/."}));
}

TEST(Learning, LayerLimitOneChangesOnlyLayerOne) {
    CPatternNetwork network = EmptyNetwork(1);
    network.layerLimit = 1;
    const std::vector<Move> moves = OpenFourGame();
    ASSERT_TRUE(network.LearnFromGame(moves.data(), static_cast<int>(moves.size()), 9, 9));
    EXPECT_EQ(network.layerCount(), 2);
    EXPECT_EQ(network.layers[1].patternCount(), 4);
}

TEST(Learning, LearnedShapesAttackAndBlockForEitherSide) {
    CPatternNetwork network = EmptyNetwork(1);
    network.layerLimit = 1;
    const std::vector<Move> moves = Game(-1, {{3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}});
    ASSERT_TRUE(network.LearnFromGame(moves.data(), static_cast<int>(moves.size()), kSize, kSize));

    auto attack = test::Cells(test::EmptyRows(kSize, kSize));
    auto block = attack;
    for (int y = 5; y < 9; ++y) {
        attack[static_cast<size_t>(y * kSize + 9)] = 1; // the computer's own vertical four
        block[static_cast<size_t>(y * kSize + 9)] = -1; // the player's
    }
    int x = -1, y = -1;
    ASSERT_TRUE(network.FindMove(attack.data(), 1, kSize, kSize, x, y));
    EXPECT_EQ(x, 9);
    EXPECT_TRUE(y == 4 || y == 9);
    ASSERT_TRUE(network.FindMove(block.data(), 1, kSize, kSize, x, y));
    EXPECT_EQ(x, 9);
    EXPECT_TRUE(y == 4 || y == 9);
}

TEST(Learning, RefusesGamesWithoutAWinningLine) {
    CPatternNetwork network = EmptyNetwork(1);
    const std::vector<Move> moves = Game(-1, {{3, 2}, {4, 2}, {5, 2}});
    EXPECT_FALSE(network.LearnFromGame(moves.data(), static_cast<int>(moves.size()), kSize, kSize));
    EXPECT_FALSE(network.LearnFromGame(nullptr, 3, kSize, kSize));
    EXPECT_FALSE(network.LearnFromGame(moves.data(), 0, kSize, kSize));
    EXPECT_EQ(network.layers[1].patternCount(), 0);
}

} // namespace
} // namespace rowstone
