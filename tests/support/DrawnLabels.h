#pragma once

#include "app/CalendarWindow.h"

#include <QColor>
#include <QImage>
#include <cstdlib>
#include <optional>

namespace navcal::test {

// Opaque pixels within a small distance of a pure colour: what text drawn in
// that colour leaves, apart from its blended edges.
inline int pixelsNear(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.alpha() == 255 && std::abs(c.red() - colour.red()) < 48 &&
                     std::abs(c.green() - colour.green()) < 48 &&
                     std::abs(c.blue() - colour.blue()) < 48;
        }
    return count;
}

} // namespace navcal::test
