#pragma once

#include <QtGlobal>

namespace navcal::calendar {

// The one colour type: 0xRRGGBB, as the holiday table writes it, for the
// calendar's cells, the stored design and what the widgets draw.
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

} // namespace navcal::calendar
