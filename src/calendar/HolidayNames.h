#pragma once

#include "calendar/Holidays.h"

#include <QDate>
#include <QStringList>
#include <vector>

// The holidays by name, as they leave the screen: for a calendar program and
// for a printed page, where no tooltip or banner is seen.
namespace navcal::calendar {

// The holidays a row names: those of its tooltip (in the stored table
// "День тельняшки; Новый год" names two; a user's row names one), or, for a day only the banner
// announces, the banner's text on one line without its closing "!".
QStringList holidayNames(const Holiday& row);

struct NamedDay {
    QDate date;
    QStringList names; // the stored table's first, then the user's, each once
};

// Every day of `year` that a row falling on it (`rowsOn`) names, in date
// order.
std::vector<NamedDay> namedDays(int year, const std::vector<Holiday>& userRows,
                                const std::vector<Holiday>& table = holidays());

} // namespace navcal::calendar
