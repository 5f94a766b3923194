// PLACEHOLDER: replaced by the clock.
#include "banner/ClockDisplay.h"

namespace navcal::banner {
ClockDisplay::ClockDisplay(layout::TwipLabel* label, QTimer* timer, const calendar::Clock& clock,
                           QLocale locale, QObject* parent)
    : QObject(parent), m_label(label), m_timer(timer), m_clock(clock), m_locale(std::move(locale)) {}
void ClockDisplay::start() {}
void ClockDisplay::tick() {}
QString clockText(const QTime& time, const QLocale& locale) { return locale.toString(time); }
} // namespace navcal::banner
