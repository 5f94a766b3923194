#pragma once

#include "calendar/Holidays.h"
#include "calendar/Today.h"
#include "design/RandomPalette.h"
#include "panels/MonthView.h"

#include <QLocale>
#include <QObject>

namespace navcal::panels {

// The twelve month panels on the window: their fill, advanced a step at a
// time by the saver's heartbeat, the title clicks, and the weekday headers'
// colour.
class MonthPanels : public QObject {
    Q_OBJECT
  public:
    // Fills for `today`: `fill` is the year's, which the views show.
    // `userHolidays`, the user's own rows beside the stored table, are read
    // as they stand at each fill and title click.
    MonthPanels(const std::array<MonthView*, 12>& months, calendar::YearFill& fill,
                calendar::Today& today, design::RandomPalette& palette, QLocale locale,
                const std::vector<calendar::Holiday>& userHolidays, QObject* parent = nullptr);

    // Every month's fill back at its start: no cell revealed.
    void restartFills();

    // One fill tick: every month's next cell revealed; none once the last
    // is (the year's fill has ended).
    void fillTick();
    // Click on a month's title (1..12): random colour, the days shown marked
    // as their holidays say, weekend red. A fill under way goes on from where
    // it was.
    void titleClicked(int month);
    // Click on the weekday-header picture: all 84 headers in one random colour.
    void recolourHeaders();

  private:
    const std::array<MonthView*, 12>& m_months; // January first
    calendar::YearFill& m_fill;
    calendar::Today& m_today;
    design::RandomPalette& m_palette;
    QLocale m_locale;
    const std::vector<calendar::Holiday>& m_userHolidays;
};

} // namespace navcal::panels
