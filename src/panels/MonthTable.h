#pragma once

#include "layout/StoredDesign.h"

#include <QString>
#include <optional>
#include <vector>

// What makes one month panel differ from another: plain data, read by the fill
// tick and the title click. No widgets here.
namespace navcal::panels {

inline constexpr layout::Colour kRed = layout::colours::red;
inline constexpr layout::Colour kBlue = layout::colours::blue;
inline constexpr layout::Colour kYellow = layout::colours::yellow;

// Saturday row, then Sunday row, in the order the weekend step paints them.
inline constexpr int kWeekendCells[10] = {5, 12, 19, 26, 33, 6, 13, 20, 27, 34};

// A day the fill marks: a cell whose caption equals `day` exactly.
struct GridHoliday {
    QString day;
    layout::Colour colour;
    QString tip;
};

// A holiday on the Sunday that falls within a run of days (July).
struct SundayHoliday {
    int firstDay, lastDay;
    layout::Colour colour;
    QString tip;
};

// A tooltip the weekend step puts on a fixed cell whatever it shows (April).
struct FixedCellTip {
    int cell;
    QString tip;
};

// A day a title click paints, with the tooltip it sets where it sets one.
struct MarkedDay {
    QString day;
    layout::Colour colour;
    QString tip; // empty: the tooltip is left alone
};

struct MonthTable {
    int month;              // 1..12
    QString firstDayString; // "01.MM", read day first in the current year
    int length;             // February: 28, with day 29 kept in a leap year
    bool leapDay;           // February: the leap-year test decides about day 29
    int stopValue;          // the fill stops when either counter reaches it
    std::vector<GridHoliday> gridHolidays;
    std::vector<SundayHoliday> sundayHolidays;
    std::optional<FixedCellTip> fixedTip;
    std::vector<MarkedDay> markedDays;
};

// The twelve months, January first.
const std::vector<MonthTable>& monthTables();
const MonthTable& monthTable(int month);

} // namespace navcal::panels
