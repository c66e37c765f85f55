#pragma once

#include "DrawSurface.h"

namespace rowstone::board_colours {

inline constexpr Rgb kBoard{254, 215, 130};
inline constexpr Rgb kGridLine{0, 0, 0};
inline constexpr Rgb kOutline{0, 0, 0};
inline constexpr Rgb kPlayerStone{0, 0, 0};
inline constexpr Rgb kComputerStone{255, 255, 255};
inline constexpr Rgb kMarker{255, 0, 0};

} // namespace rowstone::board_colours
