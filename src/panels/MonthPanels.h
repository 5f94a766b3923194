#pragma once

#include "app/RandomPalette.h"
#include "calendar/Clock.h"
#include "layout/Controls.h"

#include <QLocale>
#include <QObject>
#include <array>
#include <functional>

namespace navcal::panels {

// The twelve month panels: their fill ticks, title clicks and the weekday
// header recolouring, all driven by the per-month tables.
class MonthPanels : public QObject {
    Q_OBJECT
  public:
    // `leapYear` is the window's LeapYear on its current-year variable: it
    // also rewrites the date line.
    MonthPanels(layout::Controls& controls, const calendar::Clock& clock,
                app::RandomPalette& palette, QLocale locale, std::function<bool()> leapYear,
                QObject* parent = nullptr);

    // Fill counters: cell counter 0 and day counter 1 for every month.
    void resetCounters();

    // One fill tick of a month (1..12); stops the month's timer on its stop value.
    void fillTick(int month);
    // Click on a month's title (1..12): random colour, marked days, weekend red.
    // Walks the cells with its own index; the fill counters are left alone.
    void titleClicked(int month);
    // Click on the weekday-header picture: all 84 headers in one random colour.
    void recolourHeaders();

    // Puts the cells back to their stored look and fills every month again,
    // for a new date: counters reset, the twelve fill timers restarted.
    void refill();
    // Refills when `today` is not the date the panels were filled for.
    void followDate(const QDate& today);

    struct Counters {
        qint16 cell = 0;
        qint16 day = 1;
    };
    const Counters& counters(int month) const { return m_counters.at(month - 1); }

  private:
    layout::Controls& m_controls;
    const calendar::Clock& m_clock;
    app::RandomPalette& m_palette;
    QLocale m_locale;
    std::function<bool()> m_leapYear;
    std::array<Counters, 12> m_counters{};
    QDate m_filledFor;
};

} // namespace navcal::panels
