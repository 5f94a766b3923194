#include "panels/MonthPanels.h"

#include "calendar/CalendarRules.h"

namespace navcal::panels {

using design::Colour;

namespace {

bool validMonth(int month) {
    return month >= 1 && month <= 12;
}

} // namespace

MonthPanels::MonthPanels(const std::array<MonthView*, 12>& months, calendar::YearFill& fill,
                         calendar::Today& today, design::RandomPalette& palette, QLocale locale,
                         const std::vector<calendar::Holiday>& userHolidays, QObject* parent)
    : QObject(parent), m_months(months), m_fill(fill), m_today(today), m_palette(palette),
      m_locale(std::move(locale)), m_userHolidays(userHolidays) {}

void MonthPanels::restartFills() {
    changeFill(m_months, [this] {
        m_fill.restart();
        for (MonthView* view : m_months)
            view->clearMarks();
    });
}

void MonthPanels::fillTick() {
    changeFill(m_months, [this] {
        if (m_fill.ticks() > 0) {
            m_fill.next();
            return;
        }
        const QDate today = m_today.date();
        m_fill.start(today.year(), today, m_locale, m_userHolidays);
    });
}

void MonthPanels::titleClicked(int month) {
    if (!validMonth(month))
        return;
    MonthView& view = *m_months.at(month - 1);
    const Colour colour = m_palette.draw();
    view.setTitleColour(colour);
    const int year = m_today.date().year();
    std::array<MonthView::Mark, calendar::kMonthCells> marks;
    for (int i = 0; i < calendar::kMonthCells; ++i) {
        MonthView::Mark& mark = marks[std::size_t(i)];
        mark.colour = colour;
        const int day = view.look(MonthView::kFirstCell + i).day;
        const calendar::HolidayLook look =
            calendar::holidayOn(day ? QDate(year, month, day) : QDate(), m_userHolidays);
        if (look.titleColour)
            mark.colour = *look.titleColour;
        if (look.titleTip)
            mark.tip = look.gridTip;
    }
    view.markCells(marks);
}

void MonthPanels::recolourHeaders() {
    const Colour colour = m_palette.draw();
    for (MonthView* view : m_months)
        view->setHeaderColour(colour);
}

} // namespace navcal::panels
