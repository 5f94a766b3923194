#pragma once

#include <QtGlobal>

namespace navcal::layout {

// Colours are 0x00BBGGRR, low byte red.
using Colour = quint32;
namespace colours {
inline constexpr Colour black = 0x000000;
inline constexpr Colour red = 0x0000FF;
inline constexpr Colour blue = 0xFF0000;
inline constexpr Colour yellow = 0x00FFFF;
inline constexpr Colour darkRed = 0x000080;
inline constexpr Colour brown = 0x004080;
inline constexpr Colour darkBlue = 0xC00000;
inline constexpr Colour green = 0x00FF00;
} // namespace colours

} // namespace navcal::layout
