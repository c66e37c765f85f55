#include "GifBlockScanner.h"

namespace rowstone {

namespace {

constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kTrailer = 0x3B;

constexpr size_t kApplicationHead = 14; // introducer, label, size byte, 11 bytes
constexpr size_t kCommentHead = 2;
constexpr size_t kGraphicControlLength = 8;
constexpr size_t kPlainTextHead = 15; // introducer, label, size byte, 12 bytes
constexpr size_t kImageDescriptor = 10;
constexpr size_t kCodeSizeByte = 1;

} // namespace

GifBlockScanner::GifBlockScanner(const uint8_t* data, size_t size)
    : data(data), size(data == nullptr ? 0 : size) {}

bool GifBlockScanner::StartsLikeGif(const uint8_t* data, size_t size) {
    return data != nullptr && size >= 3 && data[0] == 'G' && data[1] == 'I' && data[2] == 'F';
}

bool GifBlockScanner::Byte(size_t at, uint8_t& value) const {
    if (at >= size)
        return false;
    value = data[at];
    return true;
}

bool GifBlockScanner::Word(size_t at, int& value) const {
    uint8_t low = 0;
    uint8_t high = 0;
    if (!Byte(at, low) || !Byte(at + 1, high))
        return false;
    value = low | (high << 8);
    return true;
}

GifScreenResult GifBlockScanner::ReadScreen() {
    if (!StartsLikeGif(data, size))
        return GifScreenResult::NotGif;
    if (size > gif_limits::kMaxDataBytes)
        return GifScreenResult::TooLarge;
    uint8_t packed = 0;
    if (!Word(6, screenWidth) || !Word(8, screenHeight) || !Byte(10, packed) || size < kHeaderSize)
        return GifScreenResult::Truncated;
    globalColourTableSize = ColourTableSize(packed);
    if (FirstBlock() > size)
        return GifScreenResult::Truncated;
    if (screenWidth > gif_limits::kMaxScreenSide || screenHeight > gif_limits::kMaxScreenSide)
        return GifScreenResult::TooLarge;
    offset = FirstBlock();
    return GifScreenResult::Ok;
}

GifBlock GifBlockScanner::Classify(size_t at) const {
    uint8_t introducer = 0;
    if (!Byte(at, introducer))
        return GifBlock::Unknown;
    if (introducer == kImageSeparator)
        return GifBlock::Image;
    if (introducer == kTrailer)
        return GifBlock::Trailer;
    uint8_t label = 0;
    if (introducer != kExtensionIntroducer || !Byte(at + 1, label))
        return GifBlock::Unknown;
    switch (label) {
    case 0xFF:
        return GifBlock::Application;
    case 0xFE:
        return GifBlock::Comment;
    case 0xF9:
        return GifBlock::GraphicControl;
    case 0x01:
        return GifBlock::PlainText;
    default:
        return GifBlock::Unknown;
    }
}

bool GifBlockScanner::SubBlocksLength(size_t at, size_t& length) const {
    size_t position = at;
    for (;;) {
        uint8_t count = 0;
        if (!Byte(position, count))
            return false;
        position += 1 + count;
        if (count == 0)
            break;
    }
    if (position > size)
        return false;
    length = position - at;
    return true;
}

// A block whose head has a fixed length, announced by its size byte at
// offset 2; a head of another length is not one this scanner can read.
bool GifBlockScanner::FixedLength(size_t at, size_t fixed, uint8_t declared, size_t& length) const {
    uint8_t sizeByte = 0;
    if (!Byte(at + 2, sizeByte) || sizeByte != declared || at + fixed > size)
        return false;
    length = fixed;
    return true;
}

bool GifBlockScanner::BlockLength(size_t at, size_t& length) const {
    size_t head = 0;
    size_t tail = 0;
    switch (Classify(at)) {
    case GifBlock::Application:
        if (!FixedLength(at, kApplicationHead, 11, head))
            return false;
        break;
    case GifBlock::Comment:
        head = kCommentHead;
        break;
    case GifBlock::GraphicControl: {
        uint8_t terminator = 0xFF;
        if (!FixedLength(at, kGraphicControlLength, 4, length) ||
            !Byte(at + kGraphicControlLength - 1, terminator) || terminator != 0)
            return false;
        return true;
    }
    case GifBlock::PlainText:
        if (!FixedLength(at, kPlainTextHead, 12, head))
            return false;
        break;
    case GifBlock::Image: {
        uint8_t packed = 0;
        if (!Byte(at + kImageDescriptor - 1, packed))
            return false;
        head = kImageDescriptor + ColourTableSize(packed) + kCodeSizeByte;
        if (at + head > size)
            return false;
        break;
    }
    case GifBlock::Trailer:
        length = 1;
        return true;
    case GifBlock::Unknown:
        return false;
    }
    if (!SubBlocksLength(at + head, tail))
        return false;
    length = head + tail;
    return true;
}

bool GifBlockScanner::Skip(size_t& at) const {
    size_t length = 0;
    if (!BlockLength(at, length))
        return false;
    at += length;
    return true;
}

// Application and comment extensions carry nothing a frame needs.
bool GifBlockScanner::SkipInformationBlocks(size_t& at) const {
    for (;;) {
        const GifBlock block = Classify(at);
        if (block != GifBlock::Application && block != GifBlock::Comment)
            return true;
        if (!Skip(at))
            return false;
    }
}

// From the start of a frame's group through the end of its image or
// plain-text block.
bool GifBlockScanner::SkipToGraphicEnd(size_t& at) const {
    for (;;) {
        const GifBlock block = Classify(at);
        if (IsGraphic(block))
            return Skip(at);
        if (block == GifBlock::Trailer || block == GifBlock::Unknown)
            return false;
        if (!Skip(at))
            return false;
    }
}

int GifBlockScanner::CountFrames() {
    Rewind();
    int count = 0;
    while (count <= gif_limits::kMaxFrames) {
        size_t at = offset;
        if (!SkipInformationBlocks(at))
            break;
        const GifBlock first = Classify(at);
        if (first != GifBlock::GraphicControl && !IsGraphic(first))
            break;
        if (!SkipToGraphicEnd(at))
            break;
        offset = at;
        ++count;
    }
    return count;
}

bool GifBlockScanner::ExtractNextFrame(GifFrameBlock& frame) {
    size_t group = offset;
    if (!SkipInformationBlocks(group))
        return false;
    const GifBlock first = Classify(group);
    if (first != GifBlock::GraphicControl && !IsGraphic(first))
        return false;
    size_t end = group;
    if (!SkipToGraphicEnd(end))
        return false;

    frame = GifFrameBlock{};
    if (first == GifBlock::GraphicControl) {
        int delay = 0;
        uint8_t packed = 0;
        Word(group + 4, delay);
        Byte(group + 3, packed);
        frame.delay = static_cast<uint32_t>(delay);
        frame.disposal = (packed >> 2) & 7;
    }
    size_t graphic = group;
    while (!IsGraphic(Classify(graphic))) {
        if (!Skip(graphic))
            return false;
    }
    if (Classify(graphic) == GifBlock::Image) {
        Word(graphic + 1, frame.left);
        Word(graphic + 3, frame.top);
        Word(graphic + 5, frame.width);
        Word(graphic + 7, frame.height);
    }

    frame.gif.reserve(FirstBlock() + (end - group) + 1);
    frame.gif.assign(data, data + FirstBlock());
    frame.gif.insert(frame.gif.end(), data + group, data + end);
    frame.gif.push_back(kTrailer);
    offset = end;
    return true;
}

} // namespace rowstone
