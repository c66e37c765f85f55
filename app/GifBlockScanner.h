#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rowstone {

// Limits on the GIF data the scanner accepts.
namespace gif_limits {
inline constexpr size_t kMaxDataBytes = 8u << 20;
inline constexpr int kMaxScreenSide = 2048;
inline constexpr int kMaxFrames = 500;
} // namespace gif_limits

// The kinds of block a GIF's data stream is made of.
enum class GifBlock {
    Application,    // 0x21 0xFF
    Comment,        // 0x21 0xFE
    GraphicControl, // 0x21 0xF9
    PlainText,      // 0x21 0x01
    Image,          // 0x2C
    Trailer,        // 0x3B
    Unknown,
};

enum class GifScreenResult { Ok, NotGif, Truncated, TooLarge };

// One frame of an animated GIF, rebuilt as a GIF of its own: the source's
// header, logical screen descriptor and global colour table, the frame's
// blocks, and a trailer.
struct GifFrameBlock {
    static constexpr uint32_t kNoDelay = 0xFFFFFFFFu;

    std::vector<uint8_t> gif;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    uint32_t delay = kNoDelay; // hundredths of a second
    int disposal = 0;
};

// Walks the blocks of GIF data without decoding any image. Every read stays
// inside the data; a block that is unknown, breaks its fixed layout or runs
// past the end stops the walk.
class GifBlockScanner {
public:
    static constexpr size_t kHeaderSize = 13; // signature, version, screen descriptor

    GifBlockScanner(const uint8_t* data, size_t size);

    // True when the data begins with "GIF", whatever its version bytes.
    static bool StartsLikeGif(const uint8_t* data, size_t size);

    // Reads the logical screen descriptor and places the scanner after the
    // global colour table.
    GifScreenResult ReadScreen();
    int ScreenWidth() const { return screenWidth; }
    int ScreenHeight() const { return screenHeight; }
    size_t GlobalColourTableSize() const { return globalColourTableSize; }

    // Counts the frames from the first block on, up to kMaxFrames + 1.
    int CountFrames();
    // Back to the first block after the global colour table.
    void Rewind() { offset = FirstBlock(); }
    // Takes the next frame, with the extensions in front of it; false at the
    // trailer or at a block that cannot be read.
    bool ExtractNextFrame(GifFrameBlock& frame);

    size_t Offset() const { return offset; }
    GifBlock Classify(size_t at) const;
    // The length of the block at `at`, its introducer included; false for an
    // unknown block or one that does not fit in the data.
    bool BlockLength(size_t at, size_t& length) const;

private:
    size_t FirstBlock() const { return kHeaderSize + globalColourTableSize; }
    bool Byte(size_t at, uint8_t& value) const;
    bool Word(size_t at, int& value) const;
    bool SubBlocksLength(size_t at, size_t& length) const;
    bool FixedLength(size_t at, size_t fixed, uint8_t declared, size_t& length) const;
    bool Skip(size_t& at) const;
    bool SkipInformationBlocks(size_t& at) const;
    bool SkipToGraphicEnd(size_t& at) const;
    static bool IsGraphic(GifBlock block) {
        return block == GifBlock::Image || block == GifBlock::PlainText;
    }
    static size_t ColourTableSize(uint8_t packed) {
        return (packed & 0x80) != 0 ? 3u * (2u << (packed & 0x07)) : 0;
    }

    const uint8_t* data;
    size_t size;
    size_t offset = 0;
    int screenWidth = 0;
    int screenHeight = 0;
    size_t globalColourTableSize = 0;
};

} // namespace rowstone
