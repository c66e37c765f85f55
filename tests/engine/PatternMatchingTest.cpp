#include "PatternMatching.h"
#include "TestModels.h"

#include <gtest/gtest.h>

#include <vector>

namespace rowstone {
namespace {

using test::Cells;
using test::Pattern;

TEST(PatternMatching, ScoresEveryPlacementAndZeroesTheRest) {
    // A 4x3 grid scored with a 2x1 pattern "x.": stone then empty.
    const auto cells = Cells({"xx.o", ".x..", "o..x"});
    const CStonePattern p = Pattern({"x."});
    std::vector<int32_t> map(12, -7);
    ASSERT_TRUE(ScoreGrid(map.data(), cells.data(), p, -1, 4, 3));
    EXPECT_EQ(map, (std::vector<int32_t>{1, 2, 0, 0, //
                                         0, 2, 1, 0, //
                                         1, 1, 0, 0}));
    EXPECT_TRUE(MarkMatches(map.data(), 4, 3, p.threshold));
    EXPECT_EQ(map, (std::vector<int32_t>{0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0}));
}

TEST(PatternMatching, ReplayAndTemplateAgreeWithTheByteGrid) {
    const auto cells = Cells({"x.x.", ".xo.", "..x."});
    std::vector<int32_t> board(cells.begin(), cells.end());
    std::vector<int32_t> planes(24, 0); // stones of side -1, then empties
    for (size_t i = 0; i < 12; ++i) {
        planes[i] = cells[i] == -1;
        planes[12 + i] = cells[i] == 0;
    }
    const CStonePattern p = Pattern({"x-", "*x"});
    std::vector<int32_t> fromGrid(12), fromReplay(12), fromTemplate(12);
    ASSERT_TRUE(ScoreGrid(fromGrid.data(), cells.data(), p, -1, 4, 3));
    ASSERT_TRUE(ScoreReplay(fromReplay.data(), board.data(), p, -1, 4, 3));
    ASSERT_TRUE(ScoreTemplate(fromTemplate.data(), planes.data(), p, 4, 3));
    EXPECT_EQ(fromGrid, fromReplay);
    EXPECT_EQ(fromGrid, fromTemplate);
}

TEST(PatternMatching, RefusesBadArguments) {
    const auto cells = Cells({"...", "..."});
    std::vector<int32_t> map(6);
    EXPECT_FALSE(ScoreGrid(map.data(), cells.data(), Pattern({"x.."}), 0, 3, 2));
    EXPECT_FALSE(ScoreGrid(map.data(), cells.data(), Pattern({"x..."}), 1, 3, 2)); // too wide
    EXPECT_FALSE(
        ScoreGrid(map.data(), cells.data(), Pattern({"x", ".", "."}), 1, 3, 2)); // too tall
    EXPECT_FALSE(ScoreGrid(map.data(), cells.data(), Pattern({"x."}), 1, 1, 1));
}

TEST(PatternMatching, ThresholdZeroMarksEveryEntry) {
    const auto cells = Cells({"...", "..."});
    const CStonePattern anything = Pattern({"--", "--"});
    ASSERT_EQ(anything.threshold, 0);
    std::vector<int32_t> map(6);
    ASSERT_TRUE(ScoreGrid(map.data(), cells.data(), anything, 1, 3, 2));
    EXPECT_TRUE(MarkMatches(map.data(), 3, 2, anything.threshold));
    EXPECT_EQ(map, std::vector<int32_t>(6, 1)); // including where the window cannot be placed
}

} // namespace
} // namespace rowstone
