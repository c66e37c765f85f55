// Feeds arbitrary bytes to the GIF block scanner: the screen, the frame
// count and every frame it extracts, so each block kind meets every cut
// and corruption a file can hold.
#include "GifBlockScanner.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    rowstone::GifBlockScanner scanner(data, size);
    if (scanner.ReadScreen() != rowstone::GifScreenResult::Ok)
        return 0;
    const int counted = scanner.CountFrames();
    scanner.Rewind();
    int extracted = 0;
    rowstone::GifFrameBlock frame;
    while (extracted <= rowstone::gif_limits::kMaxFrames && scanner.ExtractNextFrame(frame)) {
        if (scanner.Offset() > size || frame.gif.size() < rowstone::GifBlockScanner::kHeaderSize)
            std::abort();
        ++extracted;
    }
    if (extracted != counted)
        std::abort();
    return 0;
}
