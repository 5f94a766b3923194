#include "calendar/MonthModel.h"

#include "calendar/CalendarRules.h"

namespace navcal::calendar {

MonthCells monthCells(int year, int month, const QDate& today, const QLocale& locale,
                      const std::vector<Holiday>& userRows) {
    MonthCells cells;
    const int first = weekdayOfFirst(year, month);
    for (int day = 1; day <= monthLength(year, month); ++day) {
        DayCell& cell = cells.at(cellOfDay(day, first));
        const QDate date(year, month, day);
        cell.day = day;
        cell.caption = QString::number(day);
        if (date == today) {
            cell.framed = true;
            cell.colour = colours::yellow;
            cell.tip = QStringLiteral("Сегодня ") + dateLine(today, locale);
        }
        const HolidayLook holiday = holidayOn(date, userRows);
        if (holiday.gridColour)
            cell.colour = holiday.gridColour;
        if (!holiday.gridTip.isEmpty())
            cell.tip = holiday.gridTip;
    }
    // The weekend columns stay red whatever marks their days.
    for (int index = 0; index < kMonthCells; ++index)
        if (isWeekendCell(index))
            cells[index].colour = colours::red;
    return cells;
}

} // namespace navcal::calendar
