#pragma once

#include "calendar/MonthModel.h"
#include "layout/StoredDesign.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

// What the month panels write into their cells, as pure steps: a fill that
// reveals the month's cells one tick at a time, and a title click's marks.
// No widgets here.
namespace navcal::panels {

static_assert(calendar::kMonthCells == layout::kCellsPerMonth);

// What a step leaves in one cell; an empty field is left as it was.
struct CellWrite {
    int index = 0;
    std::optional<QString> caption{};
    std::optional<layout::Colour> colour{};
    std::optional<QString> tip{};
    bool frame = false; // today's frame
};

// Ticks of a whole fill: cell 0 comes with the first.
inline constexpr int kFillTicks = calendar::kMonthCells - 1;

// The tick that follows `revealed` earlier ones (0..kFillTicks - 1). The first
// empties every cell that shows no day; each reveals its own cell (the first
// cell 0 as well) and paints the weekend columns red again, over whatever a
// title click gave them meanwhile.
std::vector<CellWrite> fillTick(const calendar::MonthCells& cells, int revealed);

// What a click on `month`'s title leaves in every cell showing `captions`
// (days of `year`), once all of them have been painted `colour`; `userRows`
// are the user's own holidays beside the stored ones.
std::vector<CellWrite> titleClickMarks(int month,
                                       const std::array<QString, layout::kCellsPerMonth>& captions,
                                       int year, layout::Colour colour,
                                       const std::vector<calendar::Holiday>& userRows = {});

} // namespace navcal::panels
