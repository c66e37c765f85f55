// The GIF block scanner on hand-made blocks and files: block lengths, frame
// groups and the single-frame GIFs built from them, and data that is cut
// short, corrupted or too large.
#include "GifBlockScanner.h"
#include "TestGif.h"

#include <gtest/gtest.h>

using namespace rowstone;
using namespace rowstone::test;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Bytes kLoop = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P',
                     'E',  '2',  '.',  '0', 3,   1,   0,   0,   0};

struct BlockCase {
    const char* name;
    Bytes block;
    GifBlock kind;
    bool readable;
    size_t length;
};

void PrintTo(const BlockCase& c, std::ostream* out) {
    *out << c.name;
}

class BlockLengthTest : public testing::TestWithParam<BlockCase> {};

TEST_P(BlockLengthTest, LengthIncludesTheIntroducer) {
    const BlockCase& c = GetParam();
    // Exactly the block's bytes, so that any read past them shows.
    const Bytes data = c.block;
    const GifBlockScanner scanner(data.data(), data.size());
    EXPECT_EQ(scanner.Classify(0), c.kind);
    size_t length = 0;
    ASSERT_EQ(scanner.BlockLength(0, length), c.readable);
    if (c.readable) {
        EXPECT_EQ(length, c.length);
    }
}

Bytes ImageBlock(uint8_t packed, size_t colourTable, Bytes subBlocks) {
    Bytes block = {0x2C, 1, 0, 2, 0, 3, 0, 4, 0, packed};
    block.insert(block.end(), colourTable, 0x11);
    block.push_back(8);
    block.insert(block.end(), subBlocks.begin(), subBlocks.end());
    return block;
}

Bytes PlainText(Bytes subBlocks) {
    Bytes block = {0x21, 0x01, 0x0C};
    block.insert(block.end(), 12, 0);
    block.insert(block.end(), subBlocks.begin(), subBlocks.end());
    return block;
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, BlockLengthTest,
    testing::Values(
        BlockCase{"application", kLoop, GifBlock::Application, true, 19},
        BlockCase{"application_bad_head", Bytes{0x21, 0xFF, 0x0A, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0},
                  GifBlock::Application, false, 0},
        BlockCase{"comment", Bytes{0x21, 0xFE, 3, 'a', 'b', 'c', 2, 'd', 'e', 0}, GifBlock::Comment,
                  true, 10},
        BlockCase{"empty_comment", Bytes{0x21, 0xFE, 0}, GifBlock::Comment, true, 3},
        BlockCase{"graphic_control", Bytes{0x21, 0xF9, 4, 5, 10, 0, 0, 0}, GifBlock::GraphicControl,
                  true, 8},
        BlockCase{"graphic_control_bad_size", Bytes{0x21, 0xF9, 5, 5, 10, 0, 0, 0, 0},
                  GifBlock::GraphicControl, false, 0},
        BlockCase{"graphic_control_no_terminator", Bytes{0x21, 0xF9, 4, 5, 10, 0, 0, 7},
                  GifBlock::GraphicControl, false, 0},
        BlockCase{"graphic_control_cut", Bytes{0x21, 0xF9, 4, 5, 10, 0}, GifBlock::GraphicControl,
                  false, 0},
        BlockCase{"plain_text", PlainText({1, 'x', 0}), GifBlock::PlainText, true, 18},
        BlockCase{"image", ImageBlock(0, 0, {2, 9, 9, 0}), GifBlock::Image, true, 15},
        BlockCase{"image_local_table", ImageBlock(0x81, 12, {1, 9, 0}), GifBlock::Image, true, 26},
        BlockCase{"image_table_cut", Bytes{0x2C, 1, 0, 2, 0, 3, 0, 4, 0, 0x87, 1, 2, 3},
                  GifBlock::Image, false, 0},
        BlockCase{"image_descriptor_cut", Bytes{0x2C, 1, 0, 2}, GifBlock::Image, false, 0},
        BlockCase{"sub_block_cut", ImageBlock(0, 0, {5, 9, 9}), GifBlock::Image, false, 0},
        BlockCase{"no_final_zero", ImageBlock(0, 0, {2, 9, 9}), GifBlock::Image, false, 0},
        BlockCase{"trailer", Bytes{0x3B}, GifBlock::Trailer, true, 1},
        BlockCase{"unknown_label", Bytes{0x21, 0xF8, 0}, GifBlock::Unknown, false, 0},
        BlockCase{"lone_introducer", Bytes{0x21}, GifBlock::Unknown, false, 0},
        BlockCase{"stray_byte", Bytes{0x00}, GifBlock::Unknown, false, 0}),
    [](const testing::TestParamInfo<BlockCase>& info) { return std::string(info.param.name); });

// Three frames behind a loop extension and a comment: one with a graphic
// control extension and a comment inside its group, one without any, one
// with a local colour table.
TestGif ThreeFrames() {
    TestGif gif;
    gif.width = 6;
    gif.height = 5;
    gif.palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    gif.loopCount = 0;
    gif.comment = "hand made";
    TestGifFrame first = SolidFrame(1, 2, 3, 2, 1);
    first.delay = 7;
    first.disposal = 2;
    TestGifFrame second = SolidFrame(0, 0, 2, 2, 2);
    second.control = false;
    TestGifFrame third = SolidFrame(4, 3, 2, 2, 0);
    third.delay = 0;
    third.disposal = 3;
    third.transparent = 1;
    third.localPalette = {{9, 9, 9}, {8, 8, 8}};
    gif.frames = {first, second, third};
    return gif;
}

// Where each frame's group ends in the data of ThreeFrames.
std::vector<size_t> FrameEnds(const Bytes& data) {
    GifBlockScanner scanner(data.data(), data.size());
    EXPECT_EQ(scanner.ReadScreen(), GifScreenResult::Ok);
    std::vector<size_t> ends;
    GifFrameBlock frame;
    while (scanner.ExtractNextFrame(frame))
        ends.push_back(scanner.Offset());
    return ends;
}

TEST(GifBlockScannerTest, ReadsTheScreenOfAnyVersion) {
    for (const char* version : {"89a", "87a", "00z"}) {
        TestGif gif = ThreeFrames();
        gif.version = version;
        const Bytes data = gif.Bytes();
        GifBlockScanner scanner(data.data(), data.size());
        ASSERT_EQ(scanner.ReadScreen(), GifScreenResult::Ok) << version;
        EXPECT_EQ(scanner.ScreenWidth(), 6);
        EXPECT_EQ(scanner.ScreenHeight(), 5);
        EXPECT_EQ(scanner.GlobalColourTableSize(), 12u);
        EXPECT_EQ(scanner.Offset(), 25u);
    }
}

TEST(GifBlockScannerTest, RefusesWhatIsNotAReadableScreen) {
    struct Case {
        Bytes data;
        GifScreenResult result;
    };
    Bytes wide = ThreeFrames().Bytes();
    wide[6] = 0x01;
    wide[7] = 0x08; // 2049 pixels wide
    Bytes tableCut = ThreeFrames().Bytes();
    tableCut.resize(20);
    const std::vector<Case> cases = {
        {{}, GifScreenResult::NotGif},
        {{'P', 'N', 'G', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, GifScreenResult::NotGif},
        {{'G', 'I'}, GifScreenResult::NotGif},
        {{'G', 'I', 'F', '8', '9', 'a', 1, 0}, GifScreenResult::Truncated},
        {tableCut, GifScreenResult::Truncated},
        {wide, GifScreenResult::TooLarge},
    };
    for (const Case& c : cases) {
        GifBlockScanner scanner(c.data.data(), c.data.size());
        EXPECT_EQ(scanner.ReadScreen(), c.result);
    }
    Bytes huge(gif_limits::kMaxDataBytes + 1, 0);
    huge[0] = 'G';
    huge[1] = 'I';
    huge[2] = 'F';
    GifBlockScanner scanner(huge.data(), huge.size());
    EXPECT_EQ(scanner.ReadScreen(), GifScreenResult::TooLarge);
}

TEST(GifBlockScannerTest, SplitsFramesIntoGifsOfTheirOwn) {
    const Bytes data = ThreeFrames().Bytes();
    GifBlockScanner scanner(data.data(), data.size());
    ASSERT_EQ(scanner.ReadScreen(), GifScreenResult::Ok);
    EXPECT_EQ(scanner.CountFrames(), 3);
    scanner.Rewind();

    struct Expected {
        int left, top, width, height;
        uint32_t delay;
        int disposal;
    };
    const Expected expected[] = {
        {1, 2, 3, 2, 7, 2},
        {0, 0, 2, 2, GifFrameBlock::kNoDelay, 0},
        {4, 3, 2, 2, 0, 3},
    };
    const Bytes header(data.begin(), data.begin() + 25);
    for (const Expected& e : expected) {
        const size_t groupStart = scanner.Offset();
        GifFrameBlock frame;
        ASSERT_TRUE(scanner.ExtractNextFrame(frame));
        EXPECT_EQ(frame.left, e.left);
        EXPECT_EQ(frame.top, e.top);
        EXPECT_EQ(frame.width, e.width);
        EXPECT_EQ(frame.height, e.height);
        EXPECT_EQ(frame.delay, e.delay);
        EXPECT_EQ(frame.disposal, e.disposal);
        // The loop and comment extensions in front of the first frame are
        // not part of its group.
        size_t start = groupStart;
        if (groupStart == 25)
            start += kLoop.size() + 2 + 1 + 9 + 1;
        const Bytes group(data.begin() + static_cast<long>(start),
                          data.begin() + static_cast<long>(scanner.Offset()));
        EXPECT_EQ(frame.gif, Concat({header, group, {0x3B}}));
    }
    GifFrameBlock none;
    EXPECT_FALSE(scanner.ExtractNextFrame(none));
}

TEST(GifBlockScannerTest, ExtensionsInsideAGroupBelongToIt) {
    TestGif gif = ThreeFrames();
    gif.frames.resize(1);
    Bytes data = gif.Bytes();
    // A comment between the graphic control extension and its image.
    const size_t gce = 25 + kLoop.size() + 13;
    ASSERT_EQ(data[gce + 1], 0xF9);
    const Bytes comment = {0x21, 0xFE, 1, 'x', 0};
    data.insert(data.begin() + static_cast<long>(gce + 8), comment.begin(), comment.end());
    GifBlockScanner scanner(data.data(), data.size());
    ASSERT_EQ(scanner.ReadScreen(), GifScreenResult::Ok);
    EXPECT_EQ(scanner.CountFrames(), 1);
    scanner.Rewind();
    GifFrameBlock frame;
    ASSERT_TRUE(scanner.ExtractNextFrame(frame));
    EXPECT_EQ(frame.delay, 7u);
    EXPECT_EQ(frame.left, 1);
    EXPECT_EQ(frame.gif.size(), 25 + (data.size() - 1 - gce) + 1);
}

TEST(GifBlockScannerTest, PlainTextIsAFrameGroupToo) {
    const Bytes header = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0, 0, 0};
    const Bytes data = Concat({header,
                               {0x21, 0xF9, 4, 0, 20, 0, 0, 0},
                               PlainText({1, 'x', 0}),
                               ImageBlock(0, 0, {1, 0, 0}),
                               {0x3B}});
    GifBlockScanner scanner(data.data(), data.size());
    ASSERT_EQ(scanner.ReadScreen(), GifScreenResult::Ok);
    EXPECT_EQ(scanner.CountFrames(), 2);
    scanner.Rewind();
    GifFrameBlock text;
    ASSERT_TRUE(scanner.ExtractNextFrame(text));
    EXPECT_EQ(text.delay, 20u);
    EXPECT_EQ(text.width, 0);
    EXPECT_EQ(text.gif.size(), 13 + 8 + 18 + 1u);
}

TEST(GifBlockScannerTest, AnUnknownBlockEndsTheWalk) {
    Bytes data = ThreeFrames().Bytes();
    const std::vector<size_t> ends = FrameEnds(data);
    ASSERT_EQ(ends.size(), 3u);
    data.insert(data.begin() + static_cast<long>(ends[1]), {0x21, 0x77, 0});
    GifBlockScanner scanner(data.data(), data.size());
    ASSERT_EQ(scanner.ReadScreen(), GifScreenResult::Ok);
    EXPECT_EQ(scanner.CountFrames(), 2);
}

TEST(GifBlockScannerTest, CutShortAtEveryByte) {
    const Bytes full = ThreeFrames().Bytes();
    const std::vector<size_t> ends = FrameEnds(full);
    ASSERT_EQ(ends.size(), 3u);
    for (size_t length = 0; length < full.size(); ++length) {
        const Bytes cut(full.begin(), full.begin() + static_cast<long>(length));
        GifBlockScanner scanner(cut.data(), cut.size());
        if (scanner.ReadScreen() != GifScreenResult::Ok) {
            EXPECT_LT(length, 25u);
            continue;
        }
        int whole = 0;
        for (size_t end : ends)
            whole += end <= length ? 1 : 0;
        EXPECT_EQ(scanner.CountFrames(), whole) << "cut at " << length;
        scanner.Rewind();
        int extracted = 0;
        GifFrameBlock frame;
        while (scanner.ExtractNextFrame(frame)) {
            ++extracted;
            EXPECT_LE(scanner.Offset(), cut.size());
        }
        EXPECT_EQ(extracted, whole) << "cut at " << length;
    }
}

TEST(GifBlockScannerTest, CorruptedBytesNeverLeadOutside) {
    const Bytes full = ThreeFrames().Bytes();
    for (size_t at = 6; at < full.size(); ++at) {
        for (uint8_t value : {0x00, 0x01, 0x21, 0x2C, 0x3B, 0x80, 0xF9, 0xFF}) {
            Bytes data = full;
            data[at] = value;
            GifBlockScanner scanner(data.data(), data.size());
            if (scanner.ReadScreen() != GifScreenResult::Ok)
                continue;
            const int counted = scanner.CountFrames();
            scanner.Rewind();
            int extracted = 0;
            GifFrameBlock frame;
            while (scanner.ExtractNextFrame(frame)) {
                ++extracted;
                ASSERT_LE(frame.disposal, 7);
                ASSERT_GE(frame.gif.size(), 14u);
            }
            EXPECT_EQ(extracted, counted) << "byte " << at << " set to " << int(value);
        }
    }
}

TEST(GifBlockScannerTest, CountingStopsPastTheFrameLimit) {
    TestGif gif;
    gif.width = 1;
    gif.height = 1;
    gif.palette = {{0, 0, 0}, {255, 255, 255}};
    gif.frames.assign(gif_limits::kMaxFrames + 20, SolidFrame(0, 0, 1, 1, 1));
    const Bytes data = gif.Bytes();
    GifBlockScanner scanner(data.data(), data.size());
    ASSERT_EQ(scanner.ReadScreen(), GifScreenResult::Ok);
    EXPECT_EQ(scanner.CountFrames(), gif_limits::kMaxFrames + 1);
}

} // namespace
