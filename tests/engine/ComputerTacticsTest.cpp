// The computer with the shipped five-in-a-row model never lets a win in one
// go by, and never leaves a four of the player's unanswered.
#include "CGameBoard.h"
#include "Random.h"
#include "TestModels.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>

namespace rowstone {
namespace {

using Cell = std::pair<int, int>;

struct Case {
    const char* what;
    std::vector<std::string> rows; // 'o' the computer, 'x' the player
    std::set<Cell> answers;        // (x, y) of every right reply
};

// 15 rows of 15 cells: the drawn rows at the top, the rest empty.
std::vector<std::string> Board(std::vector<std::string> rows) {
    for (std::string& row : rows) {
        row.resize(15, '.');
    }
    rows.resize(15, std::string(15, '.'));
    return rows;
}

const Case kCases[] = {
    {"own four, open at the right", Board({"", "", "..oooo", "", "x.x.x.x"}), {{6, 2}, {1, 2}}},
    {"own four against the left edge", Board({"oooo", "xxx", "", "x"}), {{4, 0}}},
    {"own broken four", Board({"", "", "...oo.oo", "", "xx.x.x"}), {{5, 2}}},
    {"own vertical four at the bottom edge",
     Board({"", "", "", "", "", "", "", "", "", "", "", "......o", "......o", "......o",
            "......o.xxx.x"}),
     {{6, 10}}},
    {"own diagonal four", Board({"", ".o", "..o", "...o", "....o", "", "xxx.x"}), {{0, 0}, {5, 5}}},
    {"own anti-diagonal four in the corner",
     Board({"..............o", ".............o", "............o", "...........o", "", "", "xxx.x"}),
     {{10, 4}}},
    {"own win before blocking the player's four", Board({"xxxx", "", ".oooo"}), {{0, 2}, {5, 2}}},
    {"player's four, closed at one end", Board({"", "oxxxx", "", "o..o"}), {{5, 1}}},
    {"player's broken four", Board({"", "..xx.xx", "", "o.o..o"}), {{4, 1}}},
    {"player's open four", Board({"", "", "...xxxx", "", "o.o.o"}), {{2, 2}, {7, 2}}},
    {"player's vertical four at the top edge",
     Board({"....x", "....x", "....x", "....x", "", "o.o.o"}),
     {{4, 4}}},
    {"player's diagonal four against the bottom right",
     Board({"", "", "", "", "", "", "", "", "", "", "..........x", "...........x", "............x",
            ".............x", "o.o.o"}),
     {{9, 9}, {14, 14}}},
    {"player's four and open three: the four first",
     Board({"", ".xxx", "", "xxxx.", "o.o.o"}),
     {{4, 3}}},
};

std::vector<uint8_t> ShippedModel() {
    std::ifstream file(ROWSTONE_MODELS_DIR "/model_5.mod", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(ComputerTactics, WinsAtOnceAndBlocksEveryFour) {
    const std::vector<uint8_t> model = ShippedModel();
    for (const Case& c : kCases) {
        for (uint32_t seed : {1u, 2u, 3u}) {
            CGameBoard board;
            ASSERT_TRUE(test::Load(board, model));
            SeedRandom(seed);
            board.NewGame();
            board.cells = test::Cells(c.rows);
            ASSERT_EQ(board.cells.size(), 225u) << c.what;
            for (int8_t cell : board.cells) {
                board.moveCount += cell != 0 ? 1 : 0;
            }
            board.sideToMove = 1;
            int x = -1, y = -1;
            bool fromNetwork = false;
            ASSERT_TRUE(board.ChooseMove(x, y, &fromNetwork)) << c.what;
            EXPECT_TRUE(fromNetwork) << c.what;
            EXPECT_EQ(c.answers.count({x, y}), 1u)
                << c.what << ": played " << x << "," << y << " (seed " << seed << ")";
        }
    }
}

} // namespace
} // namespace rowstone
