#pragma once

#include "calendar/Holidays.h"

#include <QByteArray>
#include <QLocale>
#include <vector>

namespace navcal::yearout {

// The year as a wall calendar on a landscape A4 page, as a PDF: the twelve
// month panels in the stored arrangement, drawn by their own views, on
// white, with the title, the year and the year's holidays by date in the
// middle. No today, clock or banner. Needs the application object.
QByteArray printedYear(int year, const std::vector<calendar::Holiday>& userRows,
                       const QLocale& locale);

} // namespace navcal::yearout
