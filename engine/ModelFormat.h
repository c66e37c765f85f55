#pragma once

#include <cstddef>
#include <cstdint>

// Constants of the model file format ("mod" files).
namespace rowstone::model_format {

inline constexpr uint8_t kMagic[3] = {0x6D, 0x6F, 0x64};
inline constexpr size_t kHeaderSize = 7;
// Patterns of at most this many cells store all three planes bit-packed;
// larger ones run-length code plane 0 and list plane 2.
inline constexpr int kMaxPackedCells = 24;
inline constexpr uint8_t kRunEnd = 0xFF;
inline constexpr uint8_t kLongestZeroRun = 0xFE;
inline constexpr uint8_t kListEnd = 0xFF;
// The shortest pattern record: rows, columns and three one-byte planes.
inline constexpr size_t kMinRecordSize = 5;

inline size_t PackedPlaneSize(int cells) {
    return static_cast<size_t>((cells + 7) / 8);
}

} // namespace rowstone::model_format
