#include "calendar/MonthModel.h"

#include "calendar/CalendarRules.h"

namespace navcal::calendar {

int MonthCells::cellOf(int day) const {
    return day >= 1 && day <= length ? cellOfDay(day, firstWeekday) : -1;
}

MonthCells monthCells(int year, int month, const QDate& today, const QLocale& locale,
                      const std::vector<Holiday>& userRows) {
    MonthCells out;
    out.firstWeekday = weekdayOfFirst(year, month);
    out.length = monthLength(year, month);
    for (int day = 1; day <= out.length; ++day) {
        DayCell& cell = out.cells.at(std::size_t(out.cellOf(day)));
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
    return out;
}

CellLook cellLook(int cell, CellLook stored, const MonthCells& month, int revealed,
                  const CellMarks& marks) {
    CellLook look = std::move(stored);
    const DayCell& day = month[cell];
    // Whether the cell stood revealed once `ticks` fill ticks had run.
    const auto revealedBy = [cell](int ticks) { return ticks > 0 && cell <= ticks; };
    const bool shown = revealedBy(revealed);
    if (shown) {
        look.day = day.day;
        look.caption = day.caption;
        look.frame = day.framed;
        if (day.colour)
            look.colour = *day.colour;
        if (!day.tip.isEmpty())
            look.tip = day.tip;
    } else if (revealed > 0 && day.caption.isEmpty()) {
        look.day = 0;
        look.caption.clear();
    }
    if (marks.colour && !(shown && day.colour && !revealedBy(marks.colourAt)))
        look.colour = *marks.colour;
    if (marks.tip && !(shown && !day.tip.isEmpty() && !revealedBy(marks.tipAt)))
        look.tip = *marks.tip;
    if (isWeekendCell(cell) && (revealed > 0 || marks.colour))
        look.colour = colours::red;
    return look;
}

void YearFill::start(int year, const QDate& today, const QLocale& locale,
                     const std::vector<Holiday>& userRows) {
    for (int month = 1; month <= 12; ++month)
        m_months.at(std::size_t(month - 1)) = monthCells(year, month, today, locale, userRows);
    m_ticks = 1;
}

} // namespace navcal::calendar
