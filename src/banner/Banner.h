#pragma once

#include "calendar/Holidays.h"
#include "calendar/Today.h"
#include "design/RandomPalette.h"
#include "widgets/TwipLabel.h"

#include <QObject>
#include <QTimer>
#include <functional>

namespace navcal::banner {

// The holiday-of-the-day banner, driven by its timer.
class Banner : public QObject {
    Q_OBJECT
  public:
    // Drives `banner` on `timer`'s ticks and stands it on the line `lineTop`
    // says (in twips, read at each tick). `userHolidays`, the user's own rows
    // beside the stored table, are read as they stand at each tick.
    Banner(widgets::TwipLabel* banner, QTimer* timer, std::function<float()> lineTop,
           calendar::Today& today, design::RandomPalette& palette,
           const std::vector<calendar::Holiday>& userHolidays, float screenWidthTwips,
           QObject* parent = nullptr);

    // One banner tick: today's text and colour, computed afresh, centred on the
    // text just set, on the line of the July "Пн" header.
    void tick();
    // Click on the banner: new random colour, and the banner freezes for good.
    void clicked();

    // The screen the banner centres on, in twips, when the window moves to another.
    void setScreenWidth(float twips);

  private:
    void centre();

    widgets::TwipLabel* m_banner;
    bool m_centred = false; // by a tick
    std::function<float()> m_lineTop;
    QTimer* m_timer;
    calendar::Today& m_today;
    const std::vector<calendar::Holiday>& m_userHolidays;
    design::RandomPalette& m_palette;
    float m_screenWidth;
    bool m_frozen = false;
};

} // namespace navcal::banner
