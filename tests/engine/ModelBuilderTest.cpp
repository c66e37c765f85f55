#include "ModelBuilder.h"
#include "Duel.h"
#include "ModelCommands.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace rowstone::tools {
namespace {

int Count(const CStonePattern& p, int plane) {
    int total = 0;
    for (int r = 0; r < p.height; ++r) {
        for (int c = 0; c < p.width; ++c) {
            total += p.At(plane, r, c);
        }
    }
    return total;
}

void ExpectMovesOnEmpties(const CStonePattern& p) {
    EXPECT_GE(Count(p, 2), 1);
    EXPECT_EQ(p.threshold, Count(p, 0) + Count(p, 1));
    for (int r = 0; r < p.height; ++r) {
        for (int c = 0; c < p.width; ++c) {
            if (p.At(2, r, c)) {
                EXPECT_TRUE(p.At(1, r, c)) << "a move must be on an empty intersection";
            }
        }
    }
}

TEST(ModelBuilder, EachLayerStartsItsThreatsOneStoneEarlier) {
    for (int connect : {3, 4, 5, 9, 15}) {
        CPatternNetwork network;
        std::string reason;
        ASSERT_TRUE(
            ModelBuilder::Build(connect, ModelBuilder::DefaultLayers(connect), network, reason))
            << reason;
        ASSERT_EQ(network.layerCount(), connect);
        const bool forks = connect == ModelBuilder::kForkConnect;
        for (int k = 1; k < network.layerCount(); ++k) {
            const auto& patterns = network.layers[static_cast<size_t>(k)].patterns;
            ASSERT_FALSE(patterns.empty()) << "connect " << connect << " layer " << k;
            if (forks && k == ModelBuilder::kForkLayer) {
                continue; // the forks have a test of their own
            }
            for (const CStonePattern& p : patterns) {
                const int length = std::max(p.width, p.height);
                // Rows of five keep the plain layers 3 and 4 together in layer 4.
                const bool merged = forks && k == ModelBuilder::kForkLayer + 1;
                EXPECT_EQ(length, k == 1 ? connect : connect + 1);
                if (merged) {
                    EXPECT_TRUE(Count(p, 0) == connect - 3 || Count(p, 0) == connect - 4)
                        << "connect " << connect;
                } else {
                    EXPECT_EQ(Count(p, 0), k == 1 ? connect - 1 : connect - k);
                }
                ExpectMovesOnEmpties(p);
            }
        }
    }
}

TEST(ModelBuilder, ForksCrossTwoLinesAtOneMove) {
    CPatternNetwork network;
    std::string reason;
    ASSERT_TRUE(ModelBuilder::Build(5, 4, network, reason)) << reason;
    const auto& forks = network.layers[ModelBuilder::kForkLayer].patterns;
    // Open threes to be: 2 stones among the inner 4 of 6 cells, 6 ways, 2
    // moves each; two of them along each of the 6 pairs of lines.
    EXPECT_EQ(forks.size(), 6u * 12u * 12u);
    for (const CStonePattern& p : forks) {
        EXPECT_EQ(Count(p, 2), 1);
        EXPECT_EQ(Count(p, 0), 4);
        ExpectMovesOnEmpties(p);
    }
}

TEST(ModelBuilder, RefusesRowsAndDepthsOutsideTheRange) {
    CPatternNetwork network;
    std::string reason;
    EXPECT_FALSE(ModelBuilder::Build(2, 1, network, reason));
    EXPECT_FALSE(ModelBuilder::Build(16, 1, network, reason));
    EXPECT_FALSE(ModelBuilder::Build(5, 5, network, reason));
    EXPECT_FALSE(ModelBuilder::Build(5, 0, network, reason));
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(ModelBuilder::BuildFile(7, 6, 15, 6, bytes, reason)); // narrower than a row
    EXPECT_FALSE(reason.empty());
}

TEST(Duel, MoreLayersWinMoreAndFullDepthBeatsRandomPlay) {
    CPatternNetwork strong;
    CPatternNetwork weak;
    std::string reason;
    ASSERT_TRUE(ModelBuilder::Build(5, 4, strong, reason));
    ASSERT_TRUE(ModelBuilder::Build(5, 4, weak, reason));
    const DuelScore layered = Duel(strong, 2, weak, 1).Play(15, 15, 5, 20, 1);
    EXPECT_EQ(layered.aWins + layered.bWins + layered.draws, 20);
    EXPECT_GT(layered.aWins, layered.bWins);

    CPatternNetwork random;
    random.CreateLayers(1);
    const DuelScore versusRandom = Duel(strong, 0, random, 0).Play(15, 15, 5, 20, 2);
    EXPECT_GE(versusRandom.aWins, 19);
}

TEST(Duel, FullDepthOfFiveInARowWinsNineteenOfTwentyAgainstEveryLowerDepth) {
    CPatternNetwork full;
    CPatternNetwork lower;
    std::string reason;
    const int depth = ModelBuilder::DefaultLayers(5);
    ASSERT_TRUE(ModelBuilder::Build(5, depth, full, reason));
    ASSERT_TRUE(ModelBuilder::Build(5, depth, lower, reason));
    for (int layers = 1; layers < depth; ++layers) {
        const DuelScore score = Duel(full, depth, lower, layers).Play(15, 15, 5, 40, 11);
        EXPECT_GE(score.aWins, 38) << "against " << layers << " layers: B wins " << score.bWins
                                   << ", draws " << score.draws;
    }
}

TEST(Duel, TheCommandPrintsTheScoreLine) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("duel-" + std::to_string(::getpid()) + ".mod");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunBuild({"--connect", "4", "--width", "9", "--height", "9", "-o", file.string()},
                       out, err),
              kExitOk)
        << err.str();
    out.str("");
    ASSERT_EQ(RunDuel({file.string(), "random", "--games", "6", "--seed", "3"}, out, err), kExitOk)
        << err.str();
    int aWins = -1;
    int bWins = -1;
    int draws = -1;
    char tail = 0;
    EXPECT_EQ(std::sscanf(out.str().c_str(), "A wins %d, B wins %d, draws %d%c", &aWins, &bWins,
                          &draws, &tail),
              4)
        << out.str();
    EXPECT_EQ(tail, '\n');
    EXPECT_EQ(aWins + bWins + draws, 6) << out.str();
    EXPECT_EQ(RunDuel({file.string(), "random", "--games", "0"}, out, err), kExitUsage);
    EXPECT_EQ(RunBuild({"--connect", "16", "--width", "20", "--height", "20", "-o", file.string()},
                       out, err),
              kExitUsage);
    std::filesystem::remove(file);
}

} // namespace
} // namespace rowstone::tools
