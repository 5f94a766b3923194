#include "banner/Banner.h"

#include "banner/BannerOfDay.h"

namespace navcal::banner {

Banner::Banner(widgets::TwipLabel* banner, std::function<float()> lineTop, calendar::Today& today,
               design::RandomPalette& palette, const std::vector<calendar::Holiday>& userHolidays,
               float screenWidthTwips, QObject* parent)
    : QObject(parent), m_banner(banner), m_lineTop(std::move(lineTop)), m_today(today),
      m_userHolidays(userHolidays), m_palette(palette), m_screenWidth(screenWidthTwips) {}

void Banner::tick() {
    if (m_frozen)
        return;
    m_banner->setTop(m_lineTop());
    // Computed from the date alone, so a run past midnight shows the new day
    // (the beat keeps today, and a new day re-reads the user's holidays
    // first), and a day without an entry clears the previous one.
    const BannerLook look = bannerFor(m_today.date(), m_userHolidays);
    m_banner->setColour(look.colour);
    m_banner->setCaption(look.text);
    // Centred on the text it shows now, not on the previous tick's width.
    centre();
    m_centred = true;
}

void Banner::setScreenWidth(float twips) {
    m_screenWidth = twips;
    // Its text was laid out afresh at the new scale: its old place, moved
    // with the rest, no longer centres it. Before its first tick it keeps
    // its stored place, as at start-up.
    if (m_centred)
        centre();
}

void Banner::centre() {
    m_banner->setLeft(design::centredStart(m_screenWidth, m_banner->twipWidth()));
}

void Banner::clicked() {
    m_banner->setColour(m_palette.draw());
    m_frozen = true;
}

} // namespace navcal::banner
