#pragma once

#include "calendar/Holidays.h"

#include <QByteArray>
#include <QDateTime>
#include <vector>

namespace navcal::calendar {

// The holidays of the stored table and of the user's rows as an iCalendar
// file (RFC 5545) for calendar programs: one all-day event each holiday name
// of a row that falls on its first day (`rowsOn`), recurring every year, as
// free time. A
// calendar is named `title`. A Sunday rule recurs as that rule; an event's UID comes from its day
// and name, so a second import updates the events instead of doubling them. The first occurrence
// falls in `fromYear` or (29 February) the next leap year; `stamp` is when the file is made. Lines
// end in CR LF and are folded at 75 octets.
QByteArray iCalendar(const std::vector<Holiday>& userRows, const QString& title, int fromYear,
                     const QDateTime& stamp, const std::vector<Holiday>& table = holidays());

} // namespace navcal::calendar
