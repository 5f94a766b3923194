#include "calendar/Today.h"

namespace navcal::calendar {

Today::Today(const Clock& clock, QObject* parent)
    : QObject(parent), m_clock(clock), m_date(clock.today()) {}

void Today::reset() {
    m_date = m_clock.today();
}

void Today::observe(const QDate& date) {
    if (date == m_date)
        return;
    m_date = date;
    emit dayChanged(m_date);
}

} // namespace navcal::calendar
