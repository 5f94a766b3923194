#include "banner/Banner.h"

#include "banner/BannerTable.h"

namespace navcal::banner {

Banner::Banner(layout::Controls& controls, const calendar::Clock& clock,
               app::RandomPalette& palette, float screenWidthTwips, QDate& todayDate,
               QObject* parent)
    : QObject(parent), TodayDate(todayDate), m_banner(controls.label(QStringLiteral("Label113"))),
      m_anchor(controls.label(QStringLiteral("Label59"))),
      m_timer(controls.timer(QStringLiteral("Timer14"))), m_clock(clock), m_palette(palette),
      m_screenWidth(screenWidthTwips) {}

void Banner::tick() {
    // A stray tick after the click (a queued timeout) must not undo the freeze.
    if (m_frozen)
        return;
    // Each step stands on its own: a missing control only skips its step.
    if (m_banner && m_anchor)
        m_banner->setTop(m_anchor->top());
    TodayDate = m_clock.today();
    if (!m_banner)
        return;
    // Computed from the date alone, so a run past midnight shows the new day,
    // and a day without an entry clears the previous one.
    const BannerLook look = bannerFor(TodayDate);
    m_banner->setForeColor(look.colour);
    m_banner->setCaption(look.text);
    // Centred on the text it shows now, not on the previous tick's width.
    m_banner->setLeft(m_screenWidth / 2.0f - m_banner->twipWidth() / 2.0f);
}

void Banner::clicked() {
    const layout::Colour colour = m_palette.draw();
    if (m_banner)
        m_banner->setForeColor(colour);
    if (m_timer)
        m_timer->stop();
    m_frozen = true;
}

} // namespace navcal::banner
