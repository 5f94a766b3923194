#pragma once

#include "calendar/CalendarRules.h"
#include "calendar/Holidays.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <array>
#include <optional>

// One month panel as the calendar sees it: what each of its cells shows for a
// year and a today, and how a cell looks as the fill reveals it and clicks
// mark it. No widgets here.
namespace navcal::calendar {

// The Saturday and Sunday rows of the five full weeks (a week stands in a
// column, Monday at the top).
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

// A month's cells and where its days stand in them.
struct MonthCells {
    std::array<DayCell, kMonthCells> cells{};
    int firstWeekday = 1; // of the 1st: 1 = Monday ... 7 = Sunday
    int length = 0;       // days in the month

    const DayCell& operator[](int cell) const { return cells.at(std::size_t(cell)); }
    // Which cell shows `day`, or -1 when the month has no such day.
    int cellOf(int day) const;
};

// The cells of `month` in `year` with `today` marked: today framed in yellow
// with its date as the tooltip, a holiday's colour and tooltip over today's.
// `locale` writes today's date; `userRows` are the user's own holidays beside
// the stored ones.
MonthCells monthCells(int year, int month, const QDate& today, const QLocale& locale,
                      const std::vector<Holiday>& userRows = {});

// The fill of the twelve months, one state for all of them: how many ticks
// have run and the months' cells as they stood at its first tick.
class YearFill {
  public:
    // Ticks of a whole fill: the first reveals cells 0 and 1, each later one
    // the next cell.
    static constexpr int kTicks = kMonthCells - 1;
    // None: every cell as stored.
    int ticks() const { return m_ticks; }
    bool ended() const { return m_ticks == kTicks; }
    const MonthCells& month(int month) const { return m_months.at(std::size_t(month - 1)); }

    // Back to the start: no cell revealed.
    void restart() { m_ticks = 0; }
    // The first tick: the months of `year` as `monthCells` gives them.
    void start(int year, const QDate& today, const QLocale& locale,
               const std::vector<Holiday>& userRows);
    // A later tick; none after the last.
    void next() {
        if (m_ticks > 0 && m_ticks < kTicks)
            ++m_ticks;
    }

  private:
    int m_ticks = 0;
    std::array<MonthCells, 12> m_months{}; // January first
};

// What a cell shows.
struct CellLook {
    int day = 0; // of the month, as its caption numbers it; 0: none
    QString caption;
    Colour colour = 0;
    bool frame = false; // today's frame
    QString tip;
    bool operator==(const CellLook&) const = default;
};

// What title clicks left on a cell: the last colour, the last tooltip given,
// each with how many fill ticks had run when it was put there.
struct CellMarks {
    std::optional<Colour> colour;
    int colourAt = 0;
    std::optional<QString> tip;
    int tipAt = 0;
};

// How `cell` looks: as `stored` until the fill reveals it (`revealed` ticks
// have run; the first reveals cells 0 and 1), then as `month` gives it; the
// fill's first tick empties the cells that will show no day. A click's mark
// goes over both, except that a day revealed after the click shows its own
// colour and tooltip where it has them. The weekend rows are red once the
// fill has begun or a click has marked them, whatever else colours their days.
CellLook cellLook(int cell, CellLook stored, const MonthCells& month, int revealed,
                  const CellMarks& marks);

} // namespace navcal::calendar
