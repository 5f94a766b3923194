#include "panels/Fill.h"

namespace navcal::panels {

namespace {

CellWrite reveal(const calendar::MonthCells& cells, int index) {
    const calendar::DayCell& cell = cells[index];
    CellWrite write{.index = index, .caption = cell.caption, .frame = cell.framed};
    if (cell.colour)
        write.colour = *cell.colour;
    if (!cell.tip.isEmpty())
        write.tip = cell.tip;
    return write;
}

// The day a cell showing `caption` stands for, in `month` of `year`.
QDate dayShown(int month, const QString& caption, int year) {
    bool isNumber = false;
    const int day = caption.toInt(&isNumber);
    if (!isNumber || QString::number(day) != caption)
        return {};
    return QDate(year, month, day);
}

} // namespace

std::vector<CellWrite> fillTick(const calendar::MonthCells& cells, int revealed) {
    std::vector<CellWrite> writes;
    if (revealed < 0 || revealed >= kFillTicks)
        return writes;
    const int next = revealed + 1;
    for (int index = 0; index < calendar::kMonthCells; ++index) {
        if (index == next || (next == 1 && index == 0))
            writes.push_back(reveal(cells, index));
        else if (next == 1 && cells[index].caption.isEmpty())
            writes.push_back({.index = index, .caption = QString()});
        if (calendar::isWeekendCell(index) && index > next)
            writes.push_back({.index = index, .colour = layout::colours::red});
    }
    return writes;
}

std::vector<CellWrite> titleClickMarks(int month,
                                       const std::array<QString, layout::kCellsPerMonth>& captions,
                                       int year, layout::Colour colour,
                                       const std::vector<calendar::Holiday>& userRows) {
    std::vector<CellWrite> out;
    for (int i = 0; i < layout::kCellsPerMonth; ++i) {
        CellWrite cell{.index = i, .colour = colour};
        const calendar::HolidayLook look =
            calendar::holidayOn(dayShown(month, captions[i], year), userRows);
        if (look.titleColour)
            cell.colour = *look.titleColour;
        if (look.titleTip)
            cell.tip = look.gridTip;
        if (calendar::isWeekendCell(i))
            cell.colour = layout::colours::red;
        out.push_back(cell);
    }
    return out;
}

} // namespace navcal::panels
