#pragma once

#include "panels/MonthTable.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>
#include <vector>

// The month grid fill as a pure step: from the date and the month's counters,
// what one tick makes the cells show. No widgets here.
namespace navcal::panels {

struct Counters {
    qint16 cell = 0;
    qint16 day = 1;
};

// What a tick leaves in one cell; an empty field is left as it was.
struct CellWrite {
    int index = 0;
    std::optional<QString> caption{};
    std::optional<layout::Colour> colour{};
    std::optional<QString> tip{};
    bool frame = false; // today's frame
};

struct FillTick {
    bool stopTimer = false;
    // February's leap-year step, which also shows today's date in the date line.
    bool showDateLine = false;
    std::vector<CellWrite> writes; // ascending by cell index, only cells that exist
};

// Advances `counters` and works out one tick of `table`'s month on `today`.
// A tick after the stop (one already queued) only stops the timer again.
FillTick fillTick(const MonthTable& table, Counters& counters, const QDate& today,
                  const QLocale& locale);

// What a click on the month's title leaves in every cell showing `captions`
// (days of `year`), once all of them have been painted `colour`.
std::vector<CellWrite> titleClickMarks(const MonthTable& table,
                                       const std::array<QString, layout::kCellsPerMonth>& captions,
                                       int year, layout::Colour colour);

} // namespace navcal::panels
