#include "panels/MonthTable.h"

#include "calendar/CalendarRules.h"

namespace navcal::panels {

namespace {

std::vector<MonthTable> buildTables() {
    std::vector<MonthTable> t(12);
    for (int m = 1; m <= 12; ++m) {
        MonthTable& row = t[m - 1];
        row.month = m;
        row.length = calendar::monthLength(2001, m); // a common year: February 28
        row.leapDay = false;
        row.stopValue = 38;
    }
    MonthTable& february = t[1];
    february.leapDay = true;
    february.stopValue = 36;
    return t;
}

} // namespace

const std::vector<MonthTable>& monthTables() {
    static const std::vector<MonthTable> tables = buildTables();
    return tables;
}

const MonthTable& monthTable(int month) {
    return monthTables().at(month - 1);
}

} // namespace navcal::panels
