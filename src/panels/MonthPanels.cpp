#include "panels/MonthPanels.h"

#include "calendar/CalendarRules.h"
#include "panels/MonthTable.h"

#include <QTimer>
#include <QVarLengthArray>

namespace navcal::panels {

using layout::Colour;
using layout::TwipLabel;

namespace {

// Writing a colour a label already has would only cost a palette change and a
// repaint; the weekend step repeats its writes on every tick.
void paint(TwipLabel* label, Colour colour) {
    if (label && label->foreColor() != colour)
        label->setForeColor(colour);
}

void clearCaption(TwipLabel* label) {
    if (label)
        label->setCaption(QString());
}

bool validMonth(int month) {
    return month >= 1 && month <= 12;
}

} // namespace

MonthPanels::MonthPanels(layout::Controls& controls, const calendar::Clock& clock,
                         app::RandomPalette& palette, QLocale locale,
                         std::function<bool()> leapYear, QObject* parent)
    : QObject(parent), m_controls(controls), m_clock(clock), m_palette(palette),
      m_locale(std::move(locale)), m_leapYear(std::move(leapYear)) {}

void MonthPanels::resetCounters() {
    m_counters.fill({});
    m_filledFor = m_clock.today();
}

void MonthPanels::followDate(const QDate& today) {
    if (today != m_filledFor)
        refill();
}

void MonthPanels::fillTick(int month) {
    if (!validMonth(month))
        return;
    const MonthTable& table = monthTable(month);
    const layout::MonthLayout& design = layout::monthLayouts().at(month - 1);
    QTimer* timer = m_controls.timer(design.timer);
    Counters& c = m_counters[month - 1];

    // A tick that arrives after the stop (one already queued) has nothing left to do.
    if (c.cell >= table.stopValue || c.day >= table.stopValue) {
        if (timer)
            timer->stop();
        return;
    }

    // Counters first: the first tick handles cell 1.
    ++c.cell;
    ++c.day;
    // The tick still runs to its end after stopping its timer.
    if ((c.day == table.stopValue || c.cell == table.stopValue) && timer)
        timer->stop();

    // One reading of the clock serves the whole tick.
    const QDate today = m_clock.today();
    const int w = calendar::weekdayOfFirst(table.firstDayString, today.year());
    const auto cell = [&](int index) { return m_controls.cell(design.cells, index); };

    // The cells this tick writes and marks, each with its day counter. The
    // counters never point at cell 0, so a month that begins on a Monday has
    // its day 1 there handled along with the first tick.
    struct Current {
        int index;
        int day;
    };
    QVarLengthArray<Current, 2> current;
    if (c.cell == 1 && w == 1)
        current.append({0, 1});
    current.append({c.cell, c.day});

    // Captions: empty the cells before the 1st, write the day number of the
    // current cell, empty the cells after the last day. A missing cell (37 on
    // the last tick) is skipped.
    for (int i = 0; i <= w - 2; ++i)
        clearCaption(cell(i));
    for (const Current& cur : current)
        if (TwipLabel* label = cell(cur.index))
            label->setCaption(QString::number(cur.day - w + 1));
    int firstAfter = w + table.length - 1;
    if (table.leapDay) {
        // February asks the window's leap-year test, which also writes the date line.
        const bool leap = m_leapYear ? m_leapYear() : calendar::isLeapYear(today.year());
        if (leap)
            ++firstAfter;
    }
    for (int i = firstAfter; i < layout::kCellsPerMonth; ++i)
        clearCaption(cell(i));

    // Weekend rows red on every tick, whatever an earlier tick gave them.
    for (int index : kWeekendCells)
        paint(cell(index), kRed);
    if (table.fixedTip)
        if (TwipLabel* label = cell(table.fixedTip->cell))
            label->setToolTipText(table.fixedTip->tip);

    // Today's frame, then the holidays, which take precedence over today's
    // colour and tooltip.
    const QString todayText = QString::number(today.day());
    for (const Current& cur : current) {
        TwipLabel* label = cell(cur.index);
        if (!label)
            continue;
        const QString caption = label->caption();
        if (today.month() == month && caption == todayText) {
            label->setBorderStyle(1);
            paint(label, kYellow);
            label->setToolTipText(QStringLiteral("Сегодня ") + calendar::dateLine(today, m_locale));
        }
        for (const GridHoliday& holiday : table.gridHolidays) {
            if (caption == holiday.day) {
                paint(label, holiday.colour);
                label->setToolTipText(holiday.tip);
            }
        }
        if (table.sundayHolidays.empty())
            continue;
        bool isNumber = false;
        const int shown = caption.toInt(&isNumber);
        if (!isNumber || QString::number(shown) != caption)
            continue;
        for (const SundayHoliday& holiday : table.sundayHolidays) {
            if (shown >= holiday.firstDay && shown <= holiday.lastDay) {
                if (calendar::isSundayCounter(cur.day)) {
                    paint(label, holiday.colour);
                    label->setToolTipText(holiday.tip);
                }
                break;
            }
        }
    }
}

void MonthPanels::titleClicked(int month) {
    if (!validMonth(month))
        return;
    const MonthTable& table = monthTable(month);
    const layout::MonthLayout& design = layout::monthLayouts().at(month - 1);
    const Colour colour = m_palette.draw();
    paint(m_controls.label(design.title), colour);
    // Its own index: the fill's counters belong to the fill alone.
    for (int i = 0; i < layout::kCellsPerMonth; ++i) {
        TwipLabel* label = m_controls.cell(design.cells, i);
        if (!label)
            continue;
        paint(label, colour);
        const QString caption = label->caption();
        for (const MarkedDay& marked : table.markedDays) {
            if (caption == marked.day) {
                paint(label, marked.colour);
                if (!marked.tip.isEmpty())
                    label->setToolTipText(marked.tip);
            }
        }
    }
    for (int index : kWeekendCells)
        paint(m_controls.cell(design.cells, index), kRed);
}

void MonthPanels::recolourHeaders() {
    const Colour colour = m_palette.draw();
    for (const layout::MonthLayout& design : layout::monthLayouts())
        for (const QString& header : design.headers)
            paint(m_controls.label(header), colour);
}

void MonthPanels::refill() {
    for (const layout::MonthLayout& design : layout::monthLayouts())
        for (int i = 0; i < layout::kCellsPerMonth; ++i)
            if (TwipLabel* label = m_controls.cell(design.cells, i))
                label->restoreStoredLook();
    resetCounters();
    for (const layout::MonthLayout& design : layout::monthLayouts())
        if (QTimer* timer = m_controls.timer(design.timer))
            timer->start();
}

} // namespace navcal::panels
