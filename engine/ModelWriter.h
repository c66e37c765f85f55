#pragma once

#include "CPatternNetwork.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rowstone {

// Writes layers 1 .. layerCount - 1 of a network, with the grid size and
// connect length, as a model file that reads back to the same layers. Each
// pattern is written in the encoding its size calls for. A layer without
// patterns gets no block of its own; the file still declares every layer,
// so the last written block is repeated in its place (a repeated block
// replaces itself and changes nothing). Fails when the values do not fit
// the format: grid, connect length or layer count beyond one byte, cell
// values other than 0 and 1, or no pattern at all in layers 1 and up.
bool WriteModel(const CPatternNetwork& network, int width, int height, int connectLength,
                std::vector<uint8_t>& out, std::string* error = nullptr);

} // namespace rowstone
