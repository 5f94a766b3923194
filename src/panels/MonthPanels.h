#pragma once

#include "calendar/Today.h"
#include "layout/Controls.h"
#include "layout/RandomPalette.h"
#include "panels/Fill.h"

#include <QLocale>
#include <QObject>
#include <array>

namespace navcal::panels {

// The twelve month panels on the window: applies the fill ticks and title
// clicks worked out in Fill.h, and recolours the weekday headers.
class MonthPanels : public QObject {
    Q_OBJECT
  public:
    // Follows `today`: a new date fills every month again.
    MonthPanels(const layout::Roles& controls, calendar::Today& today,
                layout::RandomPalette& palette, QLocale locale, QObject* parent = nullptr);

    // Fill counters: cell counter 0 and day counter 1 for every month.
    void resetCounters();

    // One fill tick of a month (1..12); stops the month's timer on its stop value.
    void fillTick(int month);
    // Click on a month's title (1..12): random colour, marked days, weekend red.
    // The fill counters are left alone.
    void titleClicked(int month);
    // Click on the weekday-header picture: all 84 headers in one random colour.
    void recolourHeaders();

    // Puts the cells back to their stored look and fills every month again:
    // counters reset, the twelve fill timers restarted.
    void refill();

    const Counters& counters(int month) const { return m_counters.at(month - 1); }

  private:
    const layout::Roles& m_controls;
    calendar::Today& m_today;
    layout::RandomPalette& m_palette;
    QLocale m_locale;
    std::array<Counters, 12> m_counters{};
};

} // namespace navcal::panels
