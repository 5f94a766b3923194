#pragma once

#include "calendar/Holidays.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <array>
#include <optional>

// One month panel as the calendar sees it: what each of its cells shows for a
// year and a today. No widgets here; the panels reveal these cells one by one.
namespace navcal::calendar {

// Five weeks and two days, Monday first: day 31 of a month that begins on a
// Sunday stands in the last cell.
inline constexpr int kMonthCells = 37;

// The Saturday and Sunday columns of the five full weeks.
constexpr bool isWeekendCell(int index) {
    return index >= 0 && index < 35 && index % 7 >= 5;
}

struct DayCell {
    int day = 0;                  // of the month; 0 before the 1st and after the last
    QString caption;              // the day's number; empty before the 1st and after the last
    std::optional<Colour> colour; // empty: the cell keeps the colour it is stored with
    QString tip;                  // empty: the cell keeps its stored tooltip
    bool framed = false;          // today
    bool operator==(const DayCell&) const = default;
};

using MonthCells = std::array<DayCell, kMonthCells>;

// The cells of `month` in `year` with `today` marked: weekends red, today
// framed in yellow with its date as the tooltip, a holiday's colour and
// tooltip over today's. `locale` writes today's date; `userRows` are the
// user's own holidays beside the stored ones.
MonthCells monthCells(int year, int month, const QDate& today, const QLocale& locale,
                      const std::vector<Holiday>& userRows = {});

} // namespace navcal::calendar
