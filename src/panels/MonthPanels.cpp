#include "panels/MonthPanels.h"

#include "calendar/CalendarRules.h"

#include <QTimer>

namespace navcal::panels {

using layout::Colour;
using layout::TwipLabel;

namespace {

// Writing a colour a label already has would only cost a palette change and a
// repaint; the weekend cells are written on every tick.
void paint(TwipLabel* label, Colour colour) {
    if (label->foreColor() != colour)
        label->setForeColor(colour);
}

void applyWrites(const std::vector<CellWrite>& writes, const layout::MonthControls& month) {
    for (const CellWrite& write : writes) {
        TwipLabel* label = month.cells.at(write.index);
        if (write.caption)
            label->setCaption(*write.caption);
        if (write.frame)
            label->setBorderStyle(1);
        if (write.colour)
            paint(label, *write.colour);
        if (write.tip)
            label->setToolTipText(*write.tip);
    }
}

bool validMonth(int month) {
    return month >= 1 && month <= 12;
}

} // namespace

MonthPanels::MonthPanels(const layout::Roles& controls, calendar::Today& today,
                         layout::RandomPalette& palette, QLocale locale, QObject* parent)
    : QObject(parent), m_controls(controls), m_today(today), m_palette(palette),
      m_locale(std::move(locale)) {
    connect(&m_today, &calendar::Today::dayChanged, this, &MonthPanels::refill);
}

void MonthPanels::resetCounters() {
    m_counters.fill({});
}

void MonthPanels::fillTick(int month) {
    if (!validMonth(month))
        return;
    const layout::MonthControls& controls = m_controls.month(month);
    const QDate today = m_today.date();
    const FillTick tick =
        panels::fillTick(monthTable(month), m_counters[month - 1], today, m_locale);
    if (tick.stopTimer)
        controls.fillTimer->stop();
    applyWrites(tick.writes, controls);
    if (tick.showDateLine) {
        m_controls.dateLine->setCaption(calendar::dateLine(today, m_locale));
        // A locale whose short date names the month ("5 Feb 2026") writes
        // more than the stored width holds: the line widens about its centre.
        m_controls.dateLine->widenToCaption();
    }
}

void MonthPanels::titleClicked(int month) {
    if (!validMonth(month))
        return;
    const layout::MonthControls& controls = m_controls.month(month);
    const Colour colour = m_palette.draw();
    paint(controls.title, colour);
    std::array<QString, layout::kCellsPerMonth> captions;
    for (int i = 0; i < layout::kCellsPerMonth; ++i)
        captions[i] = controls.cells[i]->caption();
    applyWrites(titleClickMarks(monthTable(month), captions, m_today.date().year(), colour),
                controls);
}

void MonthPanels::recolourHeaders() {
    const Colour colour = m_palette.draw();
    for (const layout::MonthControls& month : m_controls.months)
        for (TwipLabel* header : month.headers)
            paint(header, colour);
}

void MonthPanels::refill() {
    for (const layout::MonthControls& month : m_controls.months)
        for (TwipLabel* cell : month.cells)
            cell->restoreStoredLook();
    resetCounters();
    for (const layout::MonthControls& month : m_controls.months)
        month.fillTimer->start();
}

} // namespace navcal::panels
