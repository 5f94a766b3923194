#include "panels/MonthPanels.h"

#include "calendar/CalendarRules.h"

#include <QTimer>

namespace navcal::panels {

using layout::Colour;
using layout::PanelLabel;

namespace {

void applyWrites(const std::vector<CellWrite>& writes, const layout::MonthControls& month) {
    for (const CellWrite& write : writes) {
        PanelLabel* label = month.cells.at(write.index);
        if (write.caption)
            label->setCaption(*write.caption);
        if (write.frame)
            label->setBorderStyle(1);
        if (write.colour)
            label->setForeColor(*write.colour);
        if (write.tip)
            label->setToolTipText(*write.tip);
    }
}

bool validMonth(int month) {
    return month >= 1 && month <= 12;
}

} // namespace

MonthPanels::MonthPanels(const layout::Roles& controls, calendar::Today& today,
                         layout::RandomPalette& palette, QLocale locale,
                         const std::vector<calendar::Holiday>& userHolidays, QObject* parent)
    : QObject(parent), m_controls(controls), m_today(today), m_palette(palette),
      m_locale(std::move(locale)), m_userHolidays(userHolidays) {
    connect(&m_today, &calendar::Today::dayChanged, this, &MonthPanels::refill);
}

void MonthPanels::restartFills() {
    m_revealed.fill(0);
}

void MonthPanels::fillTick(int month) {
    if (!validMonth(month))
        return;
    const layout::MonthControls& controls = m_controls.month(month);
    int& revealed = m_revealed[month - 1];
    calendar::MonthCells& cells = m_cells[month - 1];
    if (revealed == 0) {
        const QDate today = m_today.date();
        cells = calendar::monthCells(today.year(), month, today, m_locale, m_userHolidays);
        if (month == 2) {
            m_controls.dateLine->setCaption(calendar::dateLine(today, m_locale));
            // A locale whose short date names the month ("5 Feb 2026") writes
            // more than the stored width holds: the line widens about its centre.
            m_controls.dateLine->widenToCaption();
        }
    }
    applyWrites(panels::fillTick(cells, revealed), controls);
    revealed = std::min(revealed + 1, kFillTicks);
    if (revealed == kFillTicks)
        controls.fillTimer->stop();
}

void MonthPanels::titleClicked(int month) {
    if (!validMonth(month))
        return;
    const layout::MonthControls& controls = m_controls.month(month);
    const Colour colour = m_palette.draw();
    controls.title->setForeColor(colour);
    std::array<QString, layout::kCellsPerMonth> captions;
    for (int i = 0; i < layout::kCellsPerMonth; ++i)
        captions[i] = controls.cells[i]->caption();
    applyWrites(titleClickMarks(month, captions, m_today.date().year(), colour, m_userHolidays),
                controls);
}

void MonthPanels::recolourHeaders() {
    const Colour colour = m_palette.draw();
    for (const layout::MonthControls& month : m_controls.months)
        for (PanelLabel* header : month.headers)
            header->setForeColor(colour);
}

void MonthPanels::refill() {
    for (const layout::MonthControls& month : m_controls.months)
        for (PanelLabel* cell : month.cells)
            cell->restoreStoredLook();
    restartFills();
    for (const layout::MonthControls& month : m_controls.months)
        month.fillTimer->start();
}

} // namespace navcal::panels
