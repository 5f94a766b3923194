#include "panels/Fill.h"

#include "calendar/CalendarRules.h"
#include "calendar/Holidays.h"

#include <array>

namespace navcal::panels {

namespace {

// Gathers one tick's writes by cell; a later write of a field replaces an earlier one.
class Writes {
  public:
    CellWrite& at(int index) {
        std::optional<CellWrite>& slot = m_cells.at(index);
        if (!slot)
            slot = CellWrite{.index = index};
        return *slot;
    }
    bool exists(int index) const { return index >= 0 && index < layout::kCellsPerMonth; }
    std::vector<CellWrite> list() const {
        std::vector<CellWrite> out;
        for (const auto& slot : m_cells)
            if (slot)
                out.push_back(*slot);
        return out;
    }

  private:
    std::array<std::optional<CellWrite>, layout::kCellsPerMonth> m_cells;
};

// The day a cell showing `caption` stands for, in the month of `table`.
QDate dayShown(const MonthTable& table, const QString& caption, int year) {
    bool isNumber = false;
    const int day = caption.toInt(&isNumber);
    if (!isNumber || QString::number(day) != caption)
        return {};
    return QDate(year, table.month, day);
}

// The grid's look of a holiday on the cell showing `caption`.
void markHoliday(const MonthTable& table, const QString& caption, int year, CellWrite& cell) {
    const calendar::HolidayLook look = calendar::holidayOn(dayShown(table, caption, year));
    if (look.gridColour)
        cell.colour = *look.gridColour;
    if (!look.gridTip.isEmpty())
        cell.tip = look.gridTip;
}

} // namespace

FillTick fillTick(const MonthTable& table, Counters& c, const QDate& today, const QLocale& locale) {
    FillTick tick;
    if (c.cell >= table.stopValue || c.day >= table.stopValue) {
        tick.stopTimer = true;
        return tick;
    }
    // Counters first: the first tick handles cell 1.
    ++c.cell;
    ++c.day;
    // The tick still runs to its end after stopping its timer.
    tick.stopTimer = c.day == table.stopValue || c.cell == table.stopValue;

    const int w = calendar::weekdayOfFirst(today.year(), table.month);
    // The cells this tick writes and marks, each with its day counter. The
    // counters never point at cell 0, so a month that begins on a Monday has
    // its day 1 there handled along with the first tick.
    struct Current {
        int index;
        int day;
    };
    std::vector<Current> current;
    if (c.cell == 1 && w == 1)
        current.push_back({0, 1});
    current.push_back({c.cell, c.day});

    // Captions: empty the cells before the 1st, write the day number of the
    // current cell, empty the cells after the last day. A missing cell (37 on
    // the last tick) is skipped.
    Writes writes;
    for (int i = 0; i <= w - 2; ++i)
        writes.at(i).caption = QString();
    for (const Current& cur : current)
        if (writes.exists(cur.index))
            writes.at(cur.index).caption = QString::number(cur.day - w + 1);
    int firstAfter = w + table.length - 1;
    if (table.leapDay) {
        tick.showDateLine = true;
        if (calendar::isLeapYear(today.year()))
            ++firstAfter;
    }
    for (int i = firstAfter; i < layout::kCellsPerMonth; ++i)
        writes.at(i).caption = QString();

    // Weekend rows red on every tick, whatever an earlier tick gave them.
    for (int index : kWeekendCells)
        writes.at(index).colour = layout::colours::red;

    // Today's frame, then the holidays, which take precedence over today's
    // colour and tooltip.
    const QString todayText = QString::number(today.day());
    for (const Current& cur : current) {
        if (!writes.exists(cur.index))
            continue;
        CellWrite& cell = writes.at(cur.index);
        const QString caption = *cell.caption;
        if (today.month() == table.month && caption == todayText) {
            cell.frame = true;
            cell.colour = layout::colours::yellow;
            cell.tip = QStringLiteral("Сегодня ") + calendar::dateLine(today, locale);
        }
        markHoliday(table, caption, today.year(), cell);
    }
    tick.writes = writes.list();
    return tick;
}

std::vector<CellWrite> titleClickMarks(const MonthTable& table,
                                       const std::array<QString, layout::kCellsPerMonth>& captions,
                                       int year, layout::Colour colour) {
    std::vector<CellWrite> out;
    for (int i = 0; i < layout::kCellsPerMonth; ++i) {
        CellWrite cell{.index = i, .colour = colour};
        const calendar::HolidayLook look = calendar::holidayOn(dayShown(table, captions[i], year));
        if (look.titleMark)
            cell.colour = *look.gridColour;
        if (look.titleTip)
            cell.tip = look.gridTip;
        out.push_back(cell);
    }
    for (int index : kWeekendCells)
        out[index].colour = layout::colours::red;
    return out;
}

} // namespace navcal::panels
