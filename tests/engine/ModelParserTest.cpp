#include "CPatternNetwork.h"
#include "TestModels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rowstone {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Bytes Header(uint8_t w, uint8_t h, uint8_t n, uint8_t layers) {
    return {0x6D, 0x6F, 0x64, w, h, n, layers};
}

Bytes Block(uint8_t k, uint32_t count) {
    return {k, static_cast<uint8_t>(count >> 24), static_cast<uint8_t>(count >> 16),
            static_cast<uint8_t>(count >> 8), static_cast<uint8_t>(count)};
}

// The one-pattern example model: four own stones then an empty
// intersection, play there.
const Bytes kFourThenEmpty =
    Concat({Header(15, 15, 5, 1), Block(1, 1), {0x01, 0x05, 0x1E, 0x01, 0x01}});

// A 5x5 record with stones at cells 6, 12 and 18, empties at 0 and 24, and
// moves at (0,0) and (4,4).
const Bytes kLargeRecord = {
    0x05, 0x05,
    // plane 0, run-length coded
    0x06, 0x01, 0x05, 0x01, 0x05, 0x01, 0x06, 0xFF,
    // plane 1: cell 0 in bit 7 of the first byte, cell 24 in bit 0 of the last
    0x80, 0x00, 0x00, 0x01,
    // plane 2: (row, column) pairs
    0x00, 0x00, 0x04, 0x04, 0xFF};

struct ParseOutcome {
    bool ok = false;
    int width = -1;
    int height = -1;
    int connect = -1;
    ModelError error;
};

ParseOutcome ParseBytes(CPatternNetwork& network, const Bytes& bytes) {
    ParseOutcome outcome;
    outcome.ok = network.Parse(bytes.data(), bytes.size(), outcome.width, outcome.height,
                               outcome.connect, &outcome.error);
    return outcome;
}

std::string Plane(const CStonePattern& p, int plane) {
    std::string cells;
    for (int r = 0; r < p.height; ++r) {
        for (int c = 0; c < p.width; ++c) {
            cells += p.At(plane, r, c) ? '1' : '0';
        }
    }
    return cells;
}

TEST(ModelParser, ReadsTheOnePatternExample) {
    CPatternNetwork network;
    const ParseOutcome outcome = ParseBytes(network, kFourThenEmpty);
    ASSERT_TRUE(outcome.ok) << outcome.error.reason;
    EXPECT_EQ(outcome.width, 15);
    EXPECT_EQ(outcome.height, 15);
    EXPECT_EQ(outcome.connect, 5);
    ASSERT_EQ(network.layerCount(), 2);
    ASSERT_EQ(network.layers[1].patternCount(), 1);
    const CStonePattern& p = network.layers[1].patterns[0];
    EXPECT_EQ(p.width, 5);
    EXPECT_EQ(p.height, 1);
    EXPECT_EQ(p.planeCount, 3);
    EXPECT_EQ(Plane(p, 0), "11110");
    EXPECT_EQ(Plane(p, 1), "00001");
    EXPECT_EQ(Plane(p, 2), "00001");
}

TEST(ModelParser, BuildsTheFourLinePatternsOfLayerZero) {
    CPatternNetwork network;
    ASSERT_TRUE(ParseBytes(network, kFourThenEmpty).ok);
    ASSERT_TRUE(network.ComputeThresholds());
    const auto& lines = network.layers[0].patterns;
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(Plane(lines[0], 0), "11111");
    EXPECT_EQ(Plane(lines[1], 0), "0000100010001000100010000");
    EXPECT_EQ(Plane(lines[2], 0), "11111");
    EXPECT_EQ(lines[2].width, 1);
    EXPECT_EQ(Plane(lines[3], 0), "1000001000001000001000001");
    for (const CStonePattern& line : lines) {
        EXPECT_EQ(line.planeCount, 2);
        EXPECT_EQ(line.threshold, 5);
        EXPECT_EQ(Plane(line, 1), std::string(static_cast<size_t>(line.width * line.height), '0'));
    }
}

TEST(ModelParser, ReadsTheThreeEncodingsOfALargePattern) {
    CPatternNetwork network;
    const ParseOutcome outcome =
        ParseBytes(network, Concat({Header(9, 9, 5, 1), Block(1, 1), kLargeRecord}));
    ASSERT_TRUE(outcome.ok) << outcome.error.reason;
    const CStonePattern& p = network.layers[1].patterns[0];
    EXPECT_EQ(Plane(p, 0), "0000001000001000001000000");
    EXPECT_EQ(Plane(p, 1), "1000000000000000000000001");
    EXPECT_EQ(Plane(p, 2), "1000000000000000000000001");
}

TEST(ModelParser, TenCellPlanesKeepTheirTailInTheLowBits) {
    // 2 rows of 5: cells 8 and 9 live in bits 1 and 0 of each plane's second byte.
    const Bytes bytes =
        Concat({Header(9, 9, 5, 1), Block(1, 1), {0x02, 0x05, 0x80, 0x01, 0x00, 0x02, 0x40, 0x00}});
    CPatternNetwork network;
    ASSERT_TRUE(ParseBytes(network, bytes).ok);
    const CStonePattern& p = network.layers[1].patterns[0];
    EXPECT_EQ(Plane(p, 0), "1000000001");
    EXPECT_EQ(Plane(p, 1), "0000000010");
    EXPECT_EQ(Plane(p, 2), "0100000000");
}

TEST(ModelParser, MoveListEndsAtTheEndOfTheFileOrAtARowOf0xFF) {
    Bytes atEnd = Concat({Header(9, 9, 5, 1), Block(1, 1), kLargeRecord});
    atEnd.pop_back(); // the list now ends with the file after a whole pair
    CPatternNetwork network;
    ASSERT_TRUE(ParseBytes(network, atEnd).ok);
    EXPECT_EQ(Plane(network.layers[1].patterns[0], 2), "1000000000000000000000001");

    Bytes rowEnd = atEnd;
    rowEnd.push_back(0xFF);
    rowEnd.push_back(0x07); // ignored: after the last block
    ASSERT_TRUE(ParseBytes(network, rowEnd).ok);
}

TEST(ModelParser, LaterBlockForTheSameLayerReplacesTheEarlierOne) {
    const Bytes bytes = Concat({Header(15, 15, 5, 3),
                                Block(1, 1),
                                {0x01, 0x05, 0x1E, 0x01, 0x01},
                                Block(1, 2),
                                {0x01, 0x02, 0x02, 0x01, 0x01},
                                {0x01, 0x02, 0x01, 0x02, 0x02},
                                Block(3, 1),
                                {0x01, 0x02, 0x00, 0x03, 0x01}});
    CPatternNetwork network;
    ASSERT_TRUE(ParseBytes(network, bytes).ok);
    ASSERT_EQ(network.layerCount(), 4);
    ASSERT_EQ(network.layers[1].patternCount(), 2);
    EXPECT_EQ(Plane(network.layers[1].patterns[0], 0), "10");
    EXPECT_EQ(Plane(network.layers[1].patterns[1], 0), "01");
    EXPECT_EQ(network.layers[2].patternCount(), 0); // no block names layer 2
    EXPECT_EQ(network.layers[3].patternCount(), 1);
}

TEST(ModelParser, AcceptsAPatternLargerThanTheGridAndTheSmallestWindow) {
    const Bytes bytes = Concat({Header(3, 3, 3, 1),
                                Block(1, 2),
                                {0x01, 0x05, 0x1E, 0x01, 0x01},
                                {0x01, 0x02, 0x02, 0x01, 0x01}});
    CPatternNetwork network;
    ASSERT_TRUE(ParseBytes(network, bytes).ok);
    EXPECT_EQ(network.layers[1].patternCount(), 2);
}

struct RejectedFile {
    const char* name;
    Bytes bytes;
    size_t offset;
    friend void PrintTo(const RejectedFile& file, std::ostream* out) { *out << file.name; }
};

class ModelParserRejects : public testing::TestWithParam<RejectedFile> {};

TEST_P(ModelParserRejects, RefusesWithReasonAndOffset) {
    CPatternNetwork network;
    const ParseOutcome outcome = ParseBytes(network, GetParam().bytes);
    EXPECT_FALSE(outcome.ok);
    EXPECT_FALSE(outcome.error.reason.empty());
    EXPECT_EQ(outcome.error.offset, GetParam().offset) << outcome.error.reason;
}

const Bytes kSmallRecord = {0x01, 0x05, 0x1E, 0x01, 0x01};

INSTANTIATE_TEST_SUITE_P(
    Table, ModelParserRejects,
    testing::Values(
        RejectedFile{"Empty", {}, 0},
        RejectedFile{"BadMagic",
                     Concat({{0x6D, 0x6F, 0x65, 9, 9, 5, 1}, Block(1, 1), kSmallRecord}), 0},
        RejectedFile{"ShortHeader", {0x6D, 0x6F, 0x64, 9, 9}, 0},
        RejectedFile{"ZeroWidth", Concat({Header(0, 9, 5, 1), Block(1, 1), kSmallRecord}), 3},
        RejectedFile{"ZeroHeight", Concat({Header(9, 0, 5, 1), Block(1, 1), kSmallRecord}), 4},
        RejectedFile{"ConnectTwo", Concat({Header(9, 9, 2, 1), Block(1, 1), kSmallRecord}), 5},
        RejectedFile{"NoLayers", Concat({Header(9, 9, 5, 0), Block(1, 1), kSmallRecord}), 6},
        RejectedFile{"LayerNumberZero", Concat({Header(9, 9, 5, 1), Block(0, 1), kSmallRecord}), 7},
        RejectedFile{"LayerNumberAboveCount",
                     Concat({Header(9, 9, 5, 1), Block(2, 1), kSmallRecord}), 7},
        RejectedFile{"ZeroPatterns", Concat({Header(9, 9, 5, 1), Block(1, 0), kSmallRecord}), 8},
        RejectedFile{"NegativeCount",
                     Concat({Header(9, 9, 5, 1), Block(1, 0x80000000u), kSmallRecord}), 8},
        RejectedFile{"CountBeyondTheData", Concat({Header(9, 9, 5, 1), Block(1, 2), kSmallRecord}),
                     8},
        RejectedFile{"OneCellWindow",
                     Concat({Header(9, 9, 5, 1), Block(1, 1), {0x01, 0x01, 0x01, 0x01, 0x01}}), 12},
        RejectedFile{"ZeroRows",
                     Concat({Header(9, 9, 5, 1), Block(1, 1), {0x00, 0x05, 0x01, 0x01, 0x01}}), 12},
        RejectedFile{"EndsInsideBlockHeader", Concat({Header(9, 9, 5, 1), {0x01, 0x00, 0x00}}), 8},
        RejectedFile{
            "EndsInsidePlane",
            Concat({Header(9, 9, 5, 1), Block(1, 1), {0x03, 0x03, 0x01, 0x00, 0x00, 0x00}}), 18},
        RejectedFile{"RunsOverflowTheWindow",
                     Concat({Header(9, 9, 5, 1),
                             Block(1, 1),
                             {0x05, 0x05, 0x10, 0x0A, 0xFF, 0, 0, 0, 0, 0xFF}}),
                     15},
        RejectedFile{"RunsFallShortOfTheWindow",
                     Concat({Header(9, 9, 5, 1),
                             Block(1, 1),
                             {0x05, 0x05, 0x10, 0x01, 0xFF, 0, 0, 0, 0, 0xFF}}),
                     16},
        RejectedFile{
            "PairCutAfterItsRow",
            Concat({Header(9, 9, 5, 1), Block(1, 1), {0x05, 0x05, 0x19, 0xFF, 0, 0, 0, 0, 0x01}}),
            21},
        RejectedFile{"ColumnOf0xFF",
                     Concat({Header(9, 9, 5, 1),
                             Block(1, 1),
                             {0x05, 0x05, 0x19, 0xFF, 0, 0, 0, 0, 0x01, 0xFF}}),
                     21},
        RejectedFile{"PairOutsideTheWindow",
                     Concat({Header(9, 9, 5, 1),
                             Block(1, 1),
                             {0x05, 0x05, 0x19, 0xFF, 0, 0, 0, 0, 0x01, 0x05, 0xFF}}),
                     20}),
    [](const testing::TestParamInfo<RejectedFile>& info) { return std::string(info.param.name); });

TEST(ModelParser, EveryTruncationIsRefusedOrReadsAWholeListPrefix) {
    const Bytes full = Concat({Header(9, 9, 5, 2),
                               Block(2, 2),
                               kSmallRecord,
                               {0x02, 0x05, 0x80, 0x01, 0x00, 0x02, 0x40, 0x00},
                               Block(1, 1),
                               kLargeRecord});
    const size_t listStart = full.size() - 5; // the plane-2 pairs of the last record
    for (size_t size = 0; size < full.size(); ++size) {
        const Bytes prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
        CPatternNetwork network;
        const ParseOutcome outcome = ParseBytes(network, prefix);
        const bool wholePairs = size >= listStart && (size - listStart) % 2 == 0;
        EXPECT_EQ(outcome.ok, wholePairs) << "prefix of " << size << " bytes";
        if (!outcome.ok) {
            EXPECT_LE(outcome.error.offset, size);
        }
    }
}

TEST(ModelParser, KeepsWorkBuffersAcrossModels) {
    CPatternNetwork network;
    ASSERT_TRUE(network.EnsureBuffers(15, 15));
    ASSERT_TRUE(ParseBytes(network, kFourThenEmpty).ok);
    EXPECT_EQ(network.bufferWidth, 15);
    EXPECT_EQ(network.scratch.size(), 6u * 225u);
}

} // namespace
} // namespace rowstone
