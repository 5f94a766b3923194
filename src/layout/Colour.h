#pragma once

#include <QtGlobal>

namespace navcal::layout {

// Colours are 0xRRGGBB, as the holiday table writes them.
using Colour = quint32;
namespace colours {
inline constexpr Colour black = 0x000000;
inline constexpr Colour red = 0xFF0000;
inline constexpr Colour blue = 0x0000FF;
inline constexpr Colour yellow = 0xFFFF00;
inline constexpr Colour darkRed = 0x800000;
inline constexpr Colour brown = 0x804000;
inline constexpr Colour darkBlue = 0x0000C0;
inline constexpr Colour green = 0x00FF00;
} // namespace colours

// The stored design writes colours low byte red (0x00BBGGRR).
constexpr Colour fromStoredBgr(quint32 bgr) {
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

} // namespace navcal::layout
