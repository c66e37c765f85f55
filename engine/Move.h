#pragma once

#include <cstdint>

namespace rowstone {

// One placed stone, kept in playing order. Side -1 is the player, +1 the computer.
struct Move {
    int32_t x = 0;
    int32_t y = 0;
    int32_t side = 0;
};

} // namespace rowstone
