#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace rowstone::test {

using Rgb = std::array<uint8_t, 3>;

struct TestGifFrame {
    int left = 0;
    int top = 0;
    int width = 1;
    int height = 1;
    std::vector<uint8_t> pixels; // colour indices, row by row
    bool control = true;         // has a graphic control extension
    uint16_t delay = 10;
    int disposal = 0;
    int transparent = -1;          // colour index, or -1
    std::vector<Rgb> localPalette; // empty: the global one
};

// A small GIF built by hand for the tests: palettes of 2 to 256 colours,
// frames with or without a graphic control extension, an optional loop
// extension (NETSCAPE2.0) and comment in front of the first frame.
struct TestGif {
    std::string version = "89a";
    int width = 1;
    int height = 1;
    std::vector<Rgb> palette; // empty: no global colour table
    int backgroundIndex = 0;
    int loopCount = -1; // -1: no loop extension; 0: loop forever
    std::string comment;
    std::vector<TestGifFrame> frames;

    std::vector<uint8_t> Bytes() const;
};

// A frame of one colour index.
TestGifFrame SolidFrame(int left, int top, int width, int height, uint8_t index);

} // namespace rowstone::test
