#include "CGameBoard.h"
#include "Random.h"
#include "RecordingSurface.h"
#include "TestModels.h"

#include <gtest/gtest.h>

namespace rowstone {
namespace {

using test::RecordingSurface;

// A model whose only pattern never fits its grid, so the computer always
// plays the random fallback.
std::vector<uint8_t> RandomPlayerModel(int width, int height, int connect) {
    return test::ModelBytes(width, height, connect, {{test::Pattern({std::string(101, 'x')})}});
}

struct GridCase {
    int width;
    int height;
    int connect;
    bool loads;
    friend void PrintTo(const GridCase& c, std::ostream* out) {
        *out << c.width << "x" << c.height << " connect " << c.connect;
    }
};

class LoadModelGrid : public testing::TestWithParam<GridCase> {};

TEST_P(LoadModelGrid, AcceptsOnlyPlayableGrids) {
    const GridCase& c = GetParam();
    CGameBoard board;
    const auto bytes = test::ModelBytes(c.width, c.height, c.connect, {{test::Pattern({"x*"})}});
    int w = -1, h = -1, n = -1;
    ModelError error;
    EXPECT_EQ(board.LoadModel(w, h, n, bytes.data(), bytes.size(), &error), c.loads);
    EXPECT_EQ(board.HasGrid(), c.loads);
    if (c.loads) {
        EXPECT_EQ(w, c.width);
        EXPECT_EQ(h, c.height);
        EXPECT_EQ(n, c.connect);
        EXPECT_EQ(board.cells.size(), static_cast<size_t>(c.width * c.height));
        EXPECT_EQ(board.sideToMove, -1);
    } else {
        EXPECT_FALSE(error.reason.empty());
        EXPECT_FALSE(board.NewGame());
    }
}

INSTANTIATE_TEST_SUITE_P(Table, LoadModelGrid,
                         testing::Values(GridCase{100, 100, 5, true}, GridCase{101, 15, 5, false},
                                         GridCase{15, 101, 5, false}, GridCase{3, 3, 3, true},
                                         GridCase{4, 9, 5, false}, GridCase{9, 4, 5, false},
                                         GridCase{5, 5, 5, true}));

TEST(GameBoard, WithoutAModelNothingCanBePlayed) {
    CGameBoard board;
    RecordingSurface view(200, 200);
    EXPECT_FALSE(board.NewGame());
    EXPECT_FALSE(board.PlayerMove(&view, 20, 20));
    EXPECT_TRUE(board.ComputerMove(&view));
    EXPECT_FALSE(board.ComputerMove(nullptr));
    EXPECT_EQ(board.moveCount, 0);

    const std::vector<uint8_t> broken = {0x6D, 0x6F, 0x64, 9, 9, 5, 1, 1};
    int w = 0, h = 0, n = 0;
    EXPECT_FALSE(board.LoadModel(w, h, n, broken.data(), broken.size()));
    EXPECT_FALSE(board.HasGrid());
}

struct Click {
    int px;
    int py;
    bool placed;
    int x;
    int y;
    friend void PrintTo(const Click& c, std::ostream* out) {
        *out << "click at " << c.px << "," << c.py;
    }
};

class ClickMapping : public testing::TestWithParam<Click> {};

TEST_P(ClickMapping, PicksTheNearestLineRoundingHalfUp) {
    CGameBoard board;
    ASSERT_TRUE(test::Load(board, RandomPlayerModel(15, 15, 5)));
    ASSERT_TRUE(board.NewGame());
    RecordingSurface view(160, 160); // c = 10: line k at 10 * (k + 1)
    ASSERT_TRUE(board.LayoutAndDrawGrid(&view));
    const Click& click = GetParam();
    EXPECT_EQ(board.PlayerMove(&view, click.px, click.py), click.placed);
    if (click.placed) {
        ASSERT_EQ(board.moveCount, 1);
        EXPECT_EQ(board.moves[0].x, click.x);
        EXPECT_EQ(board.moves[0].y, click.y);
        EXPECT_EQ(board.moves[0].side, -1);
    } else {
        EXPECT_EQ(board.moveCount, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ClickMapping,
                         testing::Values(Click{0, 0, true, 0, 0},       // the margin
                                         Click{14, 10, true, 0, 0},     // up to 1.5 cells
                                         Click{15, 10, true, 1, 0},     // midway goes up
                                         Click{150, 150, true, 14, 14}, // the last line
                                         Click{154, 10, true, 14, 0},
                                         Click{155, 10, false, 0, 0}, // half a cell beyond
                                         Click{10, 155, false, 0, 0}, Click{-20, 10, false, 0, 0}));

TEST(GameBoard, ClicksBeforeTheFirstLayoutAndOnStonesAreRefused) {
    CGameBoard board;
    ASSERT_TRUE(test::Load(board, RandomPlayerModel(15, 15, 5)));
    ASSERT_TRUE(board.NewGame());
    RecordingSurface view(160, 160);
    EXPECT_FALSE(board.PlayerMove(&view, 20, 20)); // no spacing known yet
    ASSERT_TRUE(board.LayoutAndDrawGrid(&view));
    EXPECT_TRUE(board.PlayerMove(&view, 20, 20));
    EXPECT_FALSE(board.PlayerMove(&view, 21, 19));
    EXPECT_EQ(board.moveCount, 1);
    EXPECT_EQ(board.sideToMove, 1);
}

// Plays the listed intersections in turn, starting with side -1.
void Play(CGameBoard& board, RecordingSurface& view,
          const std::vector<std::pair<int, int>>& cells) {
    for (const auto& [x, y] : cells) {
        ASSERT_FALSE(board.gameOver);
        ASSERT_TRUE(board.PlaceStone(&view, x, y)) << x << "," << y;
    }
}

TEST(GameBoard, AWinThatFillsTheBoardIsAWin) {
    CGameBoard board;
    ASSERT_TRUE(test::Load(board, RandomPlayerModel(3, 3, 3)));
    ASSERT_TRUE(board.NewGame());
    RecordingSurface view(100, 100);
    Play(board, view, {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {1, 2}, {0, 2}, {2, 2}});
    EXPECT_TRUE(board.gameOver);
    EXPECT_EQ(board.sideToMove, -1);
    EXPECT_EQ(board.moveCount, 9);
}

TEST(GameBoard, AFullBoardWithoutALineIsADraw) {
    CGameBoard board;
    ASSERT_TRUE(test::Load(board, RandomPlayerModel(3, 3, 3)));
    ASSERT_TRUE(board.NewGame());
    RecordingSurface view(100, 100);
    Play(board, view, {{0, 0}, {1, 0}, {2, 0}, {1, 1}, {0, 1}, {2, 1}, {1, 2}, {0, 2}, {2, 2}});
    EXPECT_TRUE(board.gameOver);
    EXPECT_EQ(board.sideToMove, 0);
}

TEST(GameBoard, ALongerLineWinsAndTheWinnerIsLearned) {
    CGameBoard board;
    ASSERT_TRUE(test::Load(board, RandomPlayerModel(9, 9, 3)));
    ASSERT_TRUE(board.NewGame());
    RecordingSurface view(100, 100);
    // x x . x  with the gap filled last: a line of four.
    Play(board, view, {{0, 0}, {0, 8}, {1, 0}, {4, 8}, {3, 0}, {8, 8}, {2, 0}});
    EXPECT_TRUE(board.gameOver);
    EXPECT_EQ(board.sideToMove, -1);
    EXPECT_EQ(board.moveCount, 7);
    EXPECT_GT(board.network.layers[1].patternCount(), 1); // learning added shapes
}

TEST(GameBoard, TheRandomFallbackFindsTheLastEmptyCell) {
    for (uint32_t seed = 0; seed < 20; ++seed) {
        SeedRandom(seed);
        CGameBoard board;
        SeedRandom(seed);
        ASSERT_TRUE(test::Load(board, RandomPlayerModel(3, 3, 3)));
        ASSERT_TRUE(board.NewGame());
        RecordingSurface view(100, 100);
        Play(board, view, {{0, 0}, {1, 0}, {2, 0}, {1, 1}, {0, 1}, {2, 1}, {1, 2}, {0, 2}});
        int x = -1, y = -1;
        bool fromNetwork = true;
        ASSERT_TRUE(board.ChooseMove(x, y, &fromNetwork));
        EXPECT_FALSE(fromNetwork);
        EXPECT_EQ(x, 2);
        EXPECT_EQ(y, 2);
    }
}

TEST(GameBoard, NewGameClearsTheGameButKeepsTheHover) {
    CGameBoard board;
    ASSERT_TRUE(test::Load(board, RandomPlayerModel(9, 9, 5)));
    ASSERT_TRUE(board.NewGame());
    RecordingSurface view(100, 100);
    ASSERT_TRUE(board.LayoutAndDrawGrid(&view));
    ASSERT_TRUE(board.DrawHover(&view, 40, 40));
    Play(board, view, {{0, 0}, {1, 1}});
    ASSERT_TRUE(board.NewGame());
    EXPECT_EQ(board.moveCount, 0);
    EXPECT_EQ(board.sideToMove, -1);
    EXPECT_FALSE(board.gameOver);
    EXPECT_EQ(board.cells, std::vector<int8_t>(81, 0));
    EXPECT_EQ(board.hoverX, 3);
    EXPECT_EQ(board.hoverY, 3);
}

// Whole games through clicks and computer moves: after every move the
// stones on the grid are exactly those of the move list, and the end is a
// real win or a full board.
TEST(GameBoard, HeadlessGamesKeepTheirInvariantsToTheEnd) {
    const std::vector<uint8_t> model = test::ModelBytes(
        7, 7, 4, {{test::Pattern({"xxx*"}), test::Pattern({"*xxx"})}, {test::Pattern({"xx*"})}});
    int wins = 0;
    int draws = 0;
    for (uint32_t seed = 0; seed < 60; ++seed) {
        CGameBoard board;
        SeedRandom(seed);
        ASSERT_TRUE(test::Load(board, model));
        ASSERT_TRUE(board.NewGame());
        RecordingSurface view(80, 80); // c = 10
        ASSERT_TRUE(board.LayoutAndDrawGrid(&view));
        uint32_t playerChoice = seed * 7919u + 13u;
        while (!board.gameOver) {
            if (board.sideToMove == -1) {
                playerChoice = playerChoice * 1103515245u + 12345u;
                const int i = static_cast<int>((playerChoice >> 8) % 49u);
                board.PlayerMove(&view, 10 * (i % 7 + 1), 10 * (i / 7 + 1));
            } else {
                const int before = board.moveCount;
                ASSERT_TRUE(board.ComputerMove(&view));
                ASSERT_EQ(board.moveCount, before + 1);
            }
            int stones = 0;
            for (int8_t cell : board.cells) {
                stones += cell != 0;
            }
            ASSERT_EQ(stones, board.moveCount);
            for (int k = 0; k < board.moveCount; ++k) {
                const Move& m = board.moves[static_cast<size_t>(k)];
                ASSERT_EQ(m.side, k % 2 == 0 ? -1 : 1);
                ASSERT_EQ(board.cells[static_cast<size_t>(m.y * 7 + m.x)], m.side);
            }
        }
        if (board.sideToMove == 0) {
            ++draws;
            EXPECT_EQ(board.moveCount, 49);
        } else {
            ++wins;
            EXPECT_TRUE(board.network.IsWin(board.cells.data(), board.sideToMove, 7, 7));
            EXPECT_EQ(board.moves[static_cast<size_t>(board.moveCount - 1)].side, board.sideToMove);
        }
    }
    EXPECT_GT(wins, 0);
}

} // namespace
} // namespace rowstone
