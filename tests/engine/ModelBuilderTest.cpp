#include "ModelBuilder.h"
#include "Duel.h"
#include "ModelCommands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <cstdio>
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

TEST(ModelBuilder, EachLayerStartsItsThreatsOneStoneEarlier) {
    for (int connect : {3, 5, 9, 15}) {
        CPatternNetwork network;
        std::string reason;
        ASSERT_TRUE(
            ModelBuilder::Build(connect, ModelBuilder::DefaultLayers(connect), network, reason))
            << reason;
        ASSERT_EQ(network.layerCount(), connect);
        for (int k = 1; k < network.layerCount(); ++k) {
            const auto& patterns = network.layers[static_cast<size_t>(k)].patterns;
            ASSERT_FALSE(patterns.empty()) << "connect " << connect << " layer " << k;
            for (const CStonePattern& p : patterns) {
                const int length = std::max(p.width, p.height);
                EXPECT_EQ(length, k == 1 ? connect : connect + 1);
                EXPECT_EQ(Count(p, 0), k == 1 ? connect - 1 : connect - k);
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
        }
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
