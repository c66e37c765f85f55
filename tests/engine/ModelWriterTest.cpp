#include "ModelWriter.h"
#include "TestModels.h"

#include <gtest/gtest.h>

#include <random>

namespace rowstone {
namespace {

using test::Pattern;

CStonePattern RandomPattern(int width, int height, std::mt19937& random) {
    CStonePattern p;
    p.Allocate(width, height, 3);
    for (int8_t& v : p.values) {
        v = static_cast<int8_t>(random() % 4 == 0);
    }
    p.ComputeThreshold();
    return p;
}

void ExpectSameLayers(const CPatternNetwork& a, const CPatternNetwork& b) {
    ASSERT_EQ(a.layerCount(), b.layerCount());
    for (int k = 1; k < a.layerCount(); ++k) {
        const auto& pa = a.layers[static_cast<size_t>(k)].patterns;
        const auto& pb = b.layers[static_cast<size_t>(k)].patterns;
        ASSERT_EQ(pa.size(), pb.size()) << "layer " << k;
        for (size_t i = 0; i < pa.size(); ++i) {
            EXPECT_EQ(pa[i].width, pb[i].width);
            EXPECT_EQ(pa[i].height, pb[i].height);
            EXPECT_EQ(pa[i].values, pb[i].values) << "layer " << k << " pattern " << i;
        }
    }
}

TEST(ModelWriter, ParseGivesBackWhatWasWrittenForEverySizeClass) {
    std::mt19937 random(7);
    CPatternNetwork written;
    written.CreateLayers(4);
    // Sizes around the packing limit, byte boundaries and long zero runs.
    const int sizes[][2] = {{2, 1}, {1, 2}, {4, 2}, {5, 2},   {4, 4},
                            {6, 4}, {5, 5}, {8, 8}, {20, 20}, {1, 30}};
    for (const auto& size : sizes) {
        written.layers[1].patterns.push_back(RandomPattern(size[0], size[1], random));
        written.layers[3].patterns.push_back(RandomPattern(size[1], size[0], random));
    }
    CStonePattern sparse;
    sparse.Allocate(20, 20, 3);
    sparse.At(0, 19, 19) = 1;
    written.layers[3].patterns.push_back(sparse);

    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(WriteModel(written, 30, 30, 5, bytes, &error)) << error;
    CPatternNetwork read;
    int w = 0, h = 0, n = 0;
    ASSERT_TRUE(read.Parse(bytes.data(), bytes.size(), w, h, n));
    EXPECT_EQ(w, 30);
    EXPECT_EQ(h, 30);
    EXPECT_EQ(n, 5);
    ExpectSameLayers(written, read); // layer 2 stays empty
}

TEST(ModelWriter, ChoosesTheEncodingBySize) {
    // 24 cells: three packed planes of three bytes each.
    const auto packed =
        test::ModelBytes(9, 9, 5, {{Pattern({"xxxxx*", "......", "......", "......"})}});
    EXPECT_EQ(packed.size(), 7u + 5u + 2u + 9u);
    // 25 cells: run-length plane 0 (five stones then 20 zeros), packed plane 1
    // and the list of one pair.
    const auto large =
        test::ModelBytes(9, 9, 5, {{Pattern({"xxxxx", "*????", "?????", "?????", "?????"})}});
    const std::vector<uint8_t> record = {0x05, 0x05, 0x01, 0x01, 0x01, 0x01, 0x01, 0x14,
                                         0xFF, 0x04, 0x00, 0x00, 0x00, 0x01, 0x00, 0xFF};
    ASSERT_EQ(large.size(), 12u + record.size());
    EXPECT_EQ(std::vector<uint8_t>(large.begin() + 12, large.end()), record);
}

TEST(ModelWriter, RefusesWhatTheFormatCannotHold) {
    CPatternNetwork network;
    network.CreateLayers(2);
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(WriteModel(network, 9, 9, 5, bytes, &error)); // no pattern at all
    network.layers[1].patterns.push_back(Pattern({"x*"}));
    EXPECT_FALSE(WriteModel(network, 256, 9, 5, bytes, &error));
    EXPECT_FALSE(WriteModel(network, 9, 9, 2, bytes, &error));
    network.layers[1].patterns[0].values[0] = 2;
    EXPECT_FALSE(WriteModel(network, 9, 9, 5, bytes, &error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace rowstone
