#include "design/RandomPalette.h"

#include <algorithm>

namespace navcal::design {

Colour paletteColour(int index) {
    // As stored, low byte red.
    static constexpr quint32 stored[16] = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    return fromStoredBgr(stored[std::clamp(index, 0, 15)]);
}

Colour RandomPalette::draw() {
    const double r = m_source.next();
    return paletteColour(std::clamp(int(r * 16.0), 0, 15));
}

} // namespace navcal::design
