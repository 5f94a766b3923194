#pragma once

#include "widgets/TwipPlaced.h"

#include <QPointF>
#include <QRect>

namespace navcal::app {

// Twips per pixel for a logical DPI, the DPI held to a sane range.
inline constexpr double kMinDpi = 24.0;
inline constexpr double kMaxDpi = 960.0;
double twipsPerPixelForDpi(double dpi);
// The same for the primary screen's logical DPI (96 when there is none).
double logicalTwipsPerPixel();

// How the stored arrangement fits a screen: scaled to fill it, and the
// screen measured in the design's twips at that scale, so that start-up's
// arithmetic centres the arrangement and never pushes it off the screen.
struct ScreenFit {
    static ScreenFit of(const QRect& geometry, double twipsPerPixel);

    QRect geometry; // the screen the window covers, in pixels
    design::TwipScale scale;
    float width = 0; // twips
    float height = 0;
};

} // namespace navcal::app
