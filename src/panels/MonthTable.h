#pragma once

#include "layout/StoredDesign.h"

#include <vector>

// What makes one month panel differ from another: plain data, read by the fill
// tick and the title click. No widgets here.
namespace navcal::panels {

// Saturday row, then Sunday row, in the order the weekend step paints them.
inline constexpr int kWeekendCells[10] = {5, 12, 19, 26, 33, 6, 13, 20, 27, 34};

struct MonthTable {
    int month;     // 1..12
    int length;    // February: 28, with day 29 kept in a leap year
    bool leapDay;  // February: the leap-year test decides about day 29
    int stopValue; // the fill stops when either counter reaches it
};

// The twelve months, January first.
const std::vector<MonthTable>& monthTables();
const MonthTable& monthTable(int month);

} // namespace navcal::panels
