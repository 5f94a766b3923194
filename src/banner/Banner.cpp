// PLACEHOLDER: replaced by the banner.
#include "banner/Banner.h"

namespace navcal::banner {
Banner::Banner(layout::Controls& controls, const calendar::Clock& clock, app::RandomPalette& palette,
               float screenWidthTwips, QObject* parent)
    : QObject(parent), m_controls(controls), m_clock(clock), m_palette(palette),
      m_screenWidth(screenWidthTwips) {}
void Banner::tick() {}
void Banner::clicked() {}
} // namespace navcal::banner
