// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

namespace corvanteller {

// A colour as 0xRRGGBB.
using Rgb = std::uint32_t;

// The 56 colours of a workbook's default palette, by colour index 1 to 56 (2 white, 3 red,
// 6 yellow, 8 turquoise, 15 grey 25 %, ...); nothing for any other index.
std::optional<Rgb> paletteColour(int colourIndex);

// A colour value as the workbook's properties take it: red + 256 x green + 65536 x blue.
constexpr Rgb rgbFromColourValue(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value) & 0xFFFFFFu;
    return ((bits & 0xFFu) << 16) | (bits & 0xFF00u) | ((bits >> 16) & 0xFFu);
}

} // namespace corvanteller
