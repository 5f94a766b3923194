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
           float screenWidthTwips, QObject* parent = nullptr);

    void tick();
    // Click on the banner: new random colour, and the banner freezes for good.
    void clicked();

    QDate TodayDate;

private:
    layout::Controls& m_controls;
    const calendar::Clock& m_clock;
    app::RandomPalette& m_palette;
    float m_screenWidth;
};

} // namespace navcal::banner
