#pragma once

// Helpers shared by the month panel tests: drive the fills by hand and read
// whole panels back.

#include "app/Saver.h"
#include "layout/Controls.h"
#include "layout/StoredDesign.h"
#include "panels/MonthPanels.h"

#include <QDate>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QVector>

namespace navcal::test {

inline const layout::MonthLayout& monthDesign(int month) {
    return layout::monthLayouts().at(month - 1);
}

inline layout::PanelLabel* dayCell(app::CalendarWindow& form, int month, int index) {
    return form.controls().roles().month(month).cells.at(index);
}

// A left click on a month's title where it is drawn.
inline void clickTitle(app::CalendarWindow& form, int month) {
    const layout::MonthControls& panel = form.controls().roles().month(month);
    QTest::mouseClick(panel.view, Qt::LeftButton, {},
                      panel.title->geometry().topLeft() - panel.view->pos() + QPoint(2, 2));
}

inline QTimer* fillTimer(app::CalendarWindow& form, int month) {
    return form.controls().roles().month(month).fillTimer;
}

// Ticks one month's fill as its timer would until the timer stops itself;
// returns the number of ticks (-1 when it never stopped).
inline int runFill(app::Saver& saver, int month) {
    QTimer* timer = fillTimer(saver.window(), month);
    if (!timer->isActive())
        timer->start();
    for (int ticks = 1; ticks <= 100; ++ticks) {
        saver.panels().fillTick(month);
        if (!timer->isActive())
            return ticks;
    }
    timer->stop();
    return -1;
}

inline void runAllFills(app::Saver& saver) {
    for (int month = 1; month <= 12; ++month)
        runFill(saver, month);
}

// What a label shows, for comparing panels before and after.
struct Look {
    QString caption;
    layout::Colour colour;
    int border;
    QString tip;
    bool operator==(const Look&) const = default;
};

inline Look lookOf(const layout::PanelLabel* label) {
    return {label->caption(), label->foreColor(), label->borderStyle(), label->toolTipText()};
}

inline QVector<Look> panelLook(app::CalendarWindow& form, int month) {
    QVector<Look> looks;
    for (int i = 0; i < layout::kCellsPerMonth; ++i)
        looks << lookOf(dayCell(form, month, i));
    return looks;
}

// The caption a cell must end with, worked out from the date alone.
inline QString expectedCaption(int year, int month, int index) {
    const QDate first(year, month, 1);
    const int day = index - (first.dayOfWeek() - 1) + 1;
    return day >= 1 && day <= first.daysInMonth() ? QString::number(day) : QString();
}

inline bool isWeekendCell(int index) {
    return index < 35 && index % 7 >= 5;
}

} // namespace navcal::test
