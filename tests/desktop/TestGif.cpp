#include "TestGif.h"

namespace rowstone::test {

namespace {

void PutWord(std::vector<uint8_t>& out, int value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

// The size field n of a colour table of 2^(n+1) entries.
int TableSizeField(size_t entries) {
    int field = 0;
    while ((2u << field) < entries)
        ++field;
    return field;
}

void PutTable(std::vector<uint8_t>& out, const std::vector<Rgb>& table) {
    const size_t entries = 2u << TableSizeField(table.size());
    for (size_t i = 0; i < entries; ++i) {
        const Rgb colour = i < table.size() ? table[i] : Rgb{0, 0, 0};
        out.insert(out.end(), colour.begin(), colour.end());
    }
}

// Every pixel as a code of its own, with a clear code before the decoder's
// table would make the codes wider: plain, valid LZW data.
std::vector<uint8_t> LiteralCodes(const std::vector<uint8_t>& pixels) {
    constexpr int kCodeSize = 8;
    constexpr unsigned kClear = 1u << kCodeSize;
    constexpr unsigned kEnd = kClear + 1;
    constexpr int kWidth = kCodeSize + 1;
    constexpr int kCodesPerClear = (1 << kCodeSize) - 3;
    std::vector<uint8_t> bytes;
    uint32_t bits = 0;
    int count = 0;
    auto put = [&](unsigned code) {
        bits |= code << count;
        count += kWidth;
        while (count >= 8) {
            bytes.push_back(static_cast<uint8_t>(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    int sinceClear = kCodesPerClear;
    for (uint8_t pixel : pixels) {
        if (sinceClear == kCodesPerClear) {
            put(kClear);
            sinceClear = 0;
        }
        put(pixel);
        ++sinceClear;
    }
    put(kEnd);
    if (count > 0)
        bytes.push_back(static_cast<uint8_t>(bits & 0xFF));
    return bytes;
}

void PutSubBlocks(std::vector<uint8_t>& out, const std::vector<uint8_t>& data) {
    for (size_t i = 0; i < data.size(); i += 255) {
        const size_t length = std::min<size_t>(255, data.size() - i);
        out.push_back(static_cast<uint8_t>(length));
        out.insert(out.end(), data.begin() + static_cast<long>(i),
                   data.begin() + static_cast<long>(i + length));
    }
    out.push_back(0);
}

} // namespace

std::vector<uint8_t> TestGif::Bytes() const {
    const std::string signature = "GIF" + version;
    std::vector<uint8_t> out(signature.begin(), signature.end());
    PutWord(out, width);
    PutWord(out, height);
    const uint8_t global =
        palette.empty() ? 0 : static_cast<uint8_t>(0x80 | 0x70 | TableSizeField(palette.size()));
    out.push_back(global);
    out.push_back(static_cast<uint8_t>(backgroundIndex));
    out.push_back(0);
    if (!palette.empty())
        PutTable(out, palette);
    if (loopCount >= 0) {
        const char* const head = "\x21\xff\x0bNETSCAPE2.0\x03\x01";
        out.insert(out.end(), head, head + 16);
        PutWord(out, loopCount);
        out.push_back(0);
    }
    if (!comment.empty()) {
        out.push_back(0x21);
        out.push_back(0xFE);
        PutSubBlocks(out, std::vector<uint8_t>(comment.begin(), comment.end()));
    }
    for (const TestGifFrame& frame : frames) {
        if (frame.control) {
            out.insert(out.end(), {0x21, 0xF9, 0x04});
            out.push_back(static_cast<uint8_t>((frame.disposal << 2) | (frame.transparent >= 0)));
            PutWord(out, frame.delay);
            out.push_back(static_cast<uint8_t>(frame.transparent >= 0 ? frame.transparent : 0));
            out.push_back(0);
        }
        out.push_back(0x2C);
        PutWord(out, frame.left);
        PutWord(out, frame.top);
        PutWord(out, frame.width);
        PutWord(out, frame.height);
        out.push_back(frame.localPalette.empty()
                          ? 0
                          : static_cast<uint8_t>(0x80 | TableSizeField(frame.localPalette.size())));
        if (!frame.localPalette.empty())
            PutTable(out, frame.localPalette);
        out.push_back(8);
        PutSubBlocks(out, LiteralCodes(frame.pixels));
    }
    out.push_back(0x3B);
    return out;
}

TestGifFrame SolidFrame(int left, int top, int width, int height, uint8_t index) {
    TestGifFrame frame;
    frame.left = left;
    frame.top = top;
    frame.width = width;
    frame.height = height;
    frame.pixels.assign(static_cast<size_t>(width * height), index);
    return frame;
}

} // namespace rowstone::test
