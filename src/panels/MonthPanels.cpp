// PLACEHOLDER: replaced by the month fill.
#include "panels/MonthPanels.h"

namespace navcal::panels {
MonthPanels::MonthPanels(layout::Controls& controls, const calendar::Clock& clock,
                         app::RandomPalette& palette, QLocale locale, std::function<bool()> leapYear,
                         QObject* parent)
    : QObject(parent), m_controls(controls), m_clock(clock), m_palette(palette),
      m_locale(std::move(locale)), m_leapYear(std::move(leapYear)) {}
void MonthPanels::resetCounters() { m_counters.fill({}); }
void MonthPanels::fillTick(int) {}
void MonthPanels::titleClicked(int) {}
void MonthPanels::recolourHeaders() {}
void MonthPanels::refill() {}
} // namespace navcal::panels
