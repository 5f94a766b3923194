#pragma once

#include "app/RandomPalette.h"
#include "calendar/Clock.h"
#include "layout/Controls.h"

#include <QObject>

namespace navcal::banner {

// The holiday-of-the-day banner Label113, driven by Timer14.
class Banner : public QObject {
    Q_OBJECT
  public:
    Banner(layout::Controls& controls, const calendar::Clock& clock, app::RandomPalette& palette,
           float screenWidthTwips, QDate& todayDate, QObject* parent = nullptr);

    // One banner tick: today's text and colour, computed afresh, centred on the
    // text just set, on the line of the July "Пн" header.
    void tick();
    // Click on the banner: new random colour, and the banner freezes for good.
    void clicked();

    bool isFrozen() const { return m_frozen; }

    // The window's TodayDate, which every tick sets.
    QDate& TodayDate;

  private:
    layout::TwipLabel* m_banner;
    layout::TwipLabel* m_anchor; // Label59, whose line the banner stands on
    QTimer* m_timer;
    const calendar::Clock& m_clock;
    app::RandomPalette& m_palette;
    float m_screenWidth;
    bool m_frozen = false;
};

} // namespace navcal::banner
