#include "app/ScreenFit.h"

#include "design/StoredDesign.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace navcal::app {

double twipsPerPixelForDpi(double dpi) {
    // The DPI comes from the environment (QT_FONT_DPI) or the display: an
    // absurd one would overflow every size computed from it.
    if (!(dpi > 0))
        return design::kDesignTwipsPerPixel;
    return design::kTwipsPerInch / std::clamp(dpi, kMinDpi, kMaxDpi);
}

double logicalTwipsPerPixel() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return twipsPerPixelForDpi(screen ? screen->logicalDotsPerInchX() : design::kDesignDpi);
}

ScreenFit ScreenFit::of(const QRect& geometry, double twipsPerPixel) {
    ScreenFit fit;
    fit.geometry = geometry;
    fit.scale = design::TwipScale::fitting(geometry.size(), twipsPerPixel);
    fit.width = fit.scale.twips(geometry.width());
    fit.height = fit.scale.twips(geometry.height());
    return fit;
}

} // namespace navcal::app
