#pragma once

#include "calendar/Clock.h"
#include "layout/TwipLabel.h"

#include <QLocale>
#include <QObject>
#include <QTimer>

namespace navcal::banner {

// The clock Label12: the time of day, refreshed just after every wall-clock
// second boundary.
class ClockDisplay : public QObject {
    Q_OBJECT
public:
    ClockDisplay(layout::TwipLabel* label, QTimer* timer, const calendar::Clock& clock,
                 QLocale locale, QObject* parent = nullptr);

    // Arms the first tick one interval after start.
    void start();
    void tick();

signals:
    // After every tick, with the time shown; the window checks for a new date.
    void ticked(const QDateTime& now);

private:
    layout::TwipLabel* m_label;
    QTimer* m_timer;
    const calendar::Clock& m_clock;
    QLocale m_locale;
};

// Hours, minutes and seconds in the locale's long time order, separators and
// 12/24-hour form, without a time-zone name.
QString clockText(const QTime& time, const QLocale& locale);

} // namespace navcal::banner
