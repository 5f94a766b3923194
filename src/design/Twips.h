#pragma once

#include "design/StoredDesign.h"

#include <QRect>
#include <QSize>
#include <algorithm>
#include <cmath>

namespace navcal::design {

// A twip is a twentieth of a point; a screen that reports no density is
// taken to have the design's own 96 dots per inch, 15 twips to a pixel.
inline constexpr double kTwipsPerInch = 1440.0;
inline constexpr double kDesignDpi = 96.0;
inline constexpr double kDesignTwipsPerPixel = kTwipsPerInch / kDesignDpi;

// How the stored design's twips meet the screen's pixels. The whole
// arrangement is scaled by one factor so that it fills the screen; every
// position stays in the design's twips and only the step to pixels scales.
struct TwipScale {
    double screenTwipsPerPixel = kDesignTwipsPerPixel; // kTwipsPerInch / the screen's dpi
    double factor = 1.0;

    // Design twips per pixel on the screen: the one twip-to-pixel step.
    double twipsPerPixel() const { return screenTwipsPerPixel / factor; }
    // A length in the screen's pixels as design twips.
    float twips(double pixels) const { return float(pixels * twipsPerPixel()); }
    // A length in design twips as the screen's pixels, not rounded.
    double pixels(float twips) const { return twips / twipsPerPixel(); }
    // A length in pixels of the unscaled design (a picture's own size) as
    // twips: it grows and shrinks with the arrangement.
    float designTwips(double designPixels) const {
        return float(designPixels * screenTwipsPerPixel);
    }
    // The design's one-pixel frame, as thick as the arrangement is scaled.
    int borderPixels() const { return std::max(1, int(std::lround(factor))); }

    // The largest factor at which the stored arrangement fits on a screen of
    // `pixels`; 1 on a 1024 x 768 screen at 96 dots per inch.
    static TwipScale fitting(QSize pixels, double screenTwipsPerPixel) {
        const double w = pixels.width() * screenTwipsPerPixel / double(kArrangementWidth);
        const double h = pixels.height() * screenTwipsPerPixel / double(kArrangementHeight);
        const double factor = std::min(w, h);
        // A screen that reports no size keeps the design's own size.
        return {screenTwipsPerPixel, std::isfinite(factor) && factor > 0 ? factor : 1.0};
    }
};

// A place in the design's twips: Left, Top, Width and Height as float, exactly
// as the start-up arithmetic leaves them (half twips happen).
struct TwipBox {
    float left = 0, top = 0, width = 0, height = 0;

    // The one step to whole pixels.
    QRect pixels(double twipsPerPixel) const {
        const double tpp = twipsPerPixel;
        return QRect(int(std::lround(left / tpp)), int(std::lround(top / tpp)),
                     int(std::lround(width / tpp)), int(std::lround(height / tpp)));
    }
};

// Where a span `extent` long starts when it is centred on one `within` long.
inline float centredStart(float within, float extent) {
    return within / 2.0f - extent / 2.0f;
}

// How far whatever is centred on a span moves when the span grows from
// `from` to `to` (twips).
inline float centringShift(float from, float to) {
    return (to - from) / 2.0f;
}

} // namespace navcal::design
