#include "CPatternNetwork.h"
#include "Random.h"
#include "TestModels.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace rowstone {
namespace {

using test::Cells;
using test::Pattern;

CPatternNetwork Network(int connect, const test::LayerList& layers) {
    CPatternNetwork network;
    network.CreateLayers(static_cast<int>(layers.size()) + 1);
    network.BuildLineLayer(connect);
    for (size_t k = 0; k < layers.size(); ++k) {
        network.layers[k + 1].patterns = layers[k];
    }
    network.ComputeThresholds();
    return network;
}

struct Choice {
    bool found = false;
    int x = -1;
    int y = -1;
    friend bool operator==(const Choice&, const Choice&) = default;
};

Choice Find(CPatternNetwork& network, std::vector<int8_t>& cells, int side, int W, int H) {
    Choice choice;
    choice.found = network.FindMove(cells.data(), side, W, H, choice.x, choice.y);
    return choice;
}

TEST(IsWin, FindsLinesOfNOrMoreForTheirSideOnly) {
    CPatternNetwork network = Network(4, {});
    auto empty = Cells(test::EmptyRows(6, 6));
    EXPECT_FALSE(network.IsWin(empty.data(), -1, 6, 6));
    EXPECT_FALSE(network.IsWin(empty.data(), 1, 6, 6));

    const auto antiDiagonal = Cells({"......", ".....o", "....o.", "...o..", "..o...", "xxx..."});
    EXPECT_TRUE(network.IsWin(antiDiagonal.data(), 1, 6, 6));
    EXPECT_FALSE(network.IsWin(antiDiagonal.data(), -1, 6, 6));

    const auto longLine = Cells({"......", "xxxxx.", "......", "......", "......", "......"});
    EXPECT_TRUE(network.IsWin(longLine.data(), -1, 6, 6));
    const auto broken = Cells({"......", "xxx.xx", "......", "......", "......", "......"});
    EXPECT_FALSE(network.IsWin(broken.data(), -1, 6, 6));
}

TEST(IsWin, IgnoresLinesThatDoNotFitTheGrid) {
    CPatternNetwork network = Network(5, {});
    const auto column = Cells({"x...", "x...", "x...", "x...", "x..."}); // 4 wide, 5 tall
    EXPECT_TRUE(network.IsWin(column.data(), -1, 4, 5));
}

TEST(FindMove, OwnPatternBeatsTheOpponentsInTheSameLayer) {
    CPatternNetwork network = Network(5, {{Pattern({"xxx*"})}});
    auto cells = Cells({"ooo.....", "........", "xxx.....", "........"});
    EXPECT_EQ(Find(network, cells, 1, 8, 4), (Choice{true, 3, 0}));
    EXPECT_EQ(Find(network, cells, -1, 8, 4), (Choice{true, 3, 2}));
}

TEST(FindMove, OpponentsLowerLayerBeatsOwnHigherLayer) {
    CPatternNetwork network = Network(5, {{Pattern({"xxx*"})}, {Pattern({"x*"})}});
    auto cells = Cells({"o.......", "........", "xxx.....", "........"});
    EXPECT_EQ(Find(network, cells, 1, 8, 4), (Choice{true, 3, 2})); // the block
}

TEST(FindMove, SearchesNoLayerAboveTheLimit) {
    test::LayerList layers(5);
    layers[2] = {Pattern({"xx*"})}; // layer 3
    CPatternNetwork network = Network(5, layers);
    auto cells = Cells({"oo......", "........"});
    network.layerLimit = 2;
    EXPECT_FALSE(Find(network, cells, 1, 8, 2).found);
    network.layerLimit = 3;
    EXPECT_EQ(Find(network, cells, 1, 8, 2), (Choice{true, 2, 0}));
    network.layerLimit = 0; // no limit set: up to 200
    EXPECT_EQ(Find(network, cells, 1, 8, 2), (Choice{true, 2, 0}));
    network.layerLimit = -4;
    EXPECT_TRUE(Find(network, cells, 1, 8, 2).found);
}

TEST(FindMove, FindsNothingInEmptyLayersOrWithPatternsTooLargeForTheGrid) {
    CPatternNetwork network = Network(3, {{}, {Pattern({"xxxxxxxxx*"})}});
    auto cells = Cells({"oo..", "....", "...."});
    EXPECT_FALSE(Find(network, cells, 1, 4, 3).found);
}

TEST(FindMove, LookAheadPrefersTheCandidateThatMakesAPatternForTheProbeSide) {
    // Two own threats give two candidates, (2,0) and (2,3). A stone of the
    // opponent on (2,3) would give the opponent "xx*" next to its stone at
    // (3,3), so the look-ahead takes (2,3) whatever the random generator says.
    CPatternNetwork network = Network(5, {{Pattern({"xx*"})}});
    const auto start = Cells({"oo......", "........", "........", "oo.x....", "........"});
    for (uint32_t seed : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u}) {
        SeedRandom(seed);
        auto cells = start;
        EXPECT_EQ(Find(network, cells, 1, 8, 5), (Choice{true, 2, 3})) << "seed " << seed;
        EXPECT_EQ(cells, start) << "probe stones must be taken back";
    }
}

TEST(FindMove, DrawsAtRandomAmongEqualCandidates) {
    CPatternNetwork network = Network(5, {{Pattern({"xx*"})}});
    const auto start = Cells({"oo......", "........", "oo......", "........"});
    std::set<std::pair<int, int>> seen;
    for (uint32_t seed = 0; seed < 40; ++seed) {
        SeedRandom(seed);
        auto cells = start;
        const Choice choice = Find(network, cells, 1, 8, 4);
        ASSERT_TRUE(choice.found);
        seen.insert({choice.x, choice.y});
    }
    EXPECT_EQ(seen, (std::set<std::pair<int, int>>{{2, 0}, {2, 2}}));
}

TEST(FindMove, NeverPlaysOnAStoneThatAPatternMarks) {
    CStonePattern marksItsStone = Pattern({"x*"});
    marksItsStone.At(2, 0, 0) = 1;
    CPatternNetwork network = Network(5, {{marksItsStone}});
    const auto start = Cells({"....", "..o.", "...."});
    for (uint32_t seed = 0; seed < 8; ++seed) {
        SeedRandom(seed);
        auto cells = start;
        EXPECT_EQ(Find(network, cells, 1, 4, 3), (Choice{true, 3, 1}));
        EXPECT_EQ(cells, start);
    }
}

TEST(FindMove, PatternsThatMatchEverywhereVoteOnlyInsideTheGrid) {
    CPatternNetwork network = Network(3, {{Pattern({"-m"})}});
    auto cells = Cells({"...", "...", "..."});
    const Choice choice = Find(network, cells, 1, 3, 3);
    ASSERT_TRUE(choice.found);
    EXPECT_GE(choice.x, 1); // only columns 1 and 2 are inside a real window
    EXPECT_LT(choice.x, 3);
}

TEST(FindMove, VotesOfTheOwnPhaseCarryIntoTheOpponentPhase) {
    // The own match proposes no move; its empty votes stay and the opponent
    // phase, with nothing of its own, picks from them.
    CPatternNetwork network = Network(3, {{Pattern({"xx."})}});
    auto cells = Cells({"oo..", "....", "...."});
    EXPECT_EQ(Find(network, cells, 1, 4, 3), (Choice{true, 2, 0}));
}

TEST(FindMove, BlocksTheEmptiesAllMatchesShareWhenNoMoveIsCommonToAll) {
    // The opponent's two threats "x.x*" propose different moves but share
    // one empty intersection, which both of them need.
    CPatternNetwork network = Network(5, {{Pattern({"x.x*"})}});
    auto cells = Cells({"x.x.x...", "........"});
    // Matches at x0 = 0 (moves on 3) and x0 = 2 (moves on 5): two matches,
    // move votes at most 1, empty votes 2 at column 3.
    EXPECT_EQ(Find(network, cells, 1, 8, 2), (Choice{true, 3, 0}));
}

TEST(CollectVotes, ReportsTheLatestMaximaIncludingEarlierVotes) {
    CPatternNetwork network = Network(3, {});
    ASSERT_TRUE(network.EnsureBuffers(4, 1));
    const CStonePattern p = Pattern({"x*"});
    std::vector<int32_t> matches = {1, 0, 1, 0};
    network.voteMap[4 + 1] = 5; // left over from an earlier pattern
    int maxMove = 0, maxEmpty = 0, count = 0;
    ASSERT_TRUE(network.CollectVotes(matches.data(), p, 4, 1, maxMove, maxEmpty, count));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(maxMove, 6);
    EXPECT_EQ(maxEmpty, 1);
    EXPECT_FALSE(
        network.CollectVotes(matches.data(), Pattern({"x....*"}), 4, 1, maxMove, maxEmpty, count));
}

TEST(PickCandidate, SingleCandidateAndEmptyList) {
    CPatternNetwork network = Network(3, {{Pattern({"x*"})}});
    ASSERT_TRUE(network.EnsureBuffers(3, 2));
    auto cells = Cells({"...", "..."});
    std::vector<int32_t> votes = {0, 0, 0, 0, 2, 1};
    int x = -1, y = -1;
    ASSERT_TRUE(network.PickCandidate(votes.data(), cells.data(), 3, 2, 1, 2, x, y));
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(1, 1));
    EXPECT_FALSE(network.PickCandidate(votes.data(), cells.data(), 3, 2, 1, 3, x, y));
    EXPECT_FALSE(network.PickCandidate(votes.data(), cells.data(), 3, 2, 0, 1, x, y));
}

} // namespace
} // namespace rowstone
