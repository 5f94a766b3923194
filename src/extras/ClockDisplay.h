#pragma once

#include "calendar/Clock.h"
#include "widgets/TwipLabel.h"

#include <QLocale>
#include <QObject>
#include <QTimer>

namespace navcal::extras {

// The clock: the time of day, refreshed just after every wall-clock
// second boundary.
class ClockDisplay : public QObject {
    Q_OBJECT
  public:
    // Takes over `timer` (the clock timer): it becomes a single-shot timer re-armed by
    // every tick, so the ticks follow the wall clock instead of drifting.
    ClockDisplay(widgets::TwipLabel* label, QTimer* timer, const calendar::Clock& clock,
                 QLocale locale, QObject* parent = nullptr);

    // Arms the first tick one stored interval (a second) after start.
    void start();
    // Shows the time and arms the next tick. A tick that comes before the next
    // second has begun (the wall clock is read, the timer runs on its own
    // clock) shows nothing and is re-armed, so no second is shown twice.
    void tick();

    // How late after the second boundary a tick is aimed, in milliseconds.
    static constexpr int kLateMarginMs = 5;

  signals:
    // After every tick, with the time shown; the window checks for a new date.
    void ticked(const QDateTime& now);

  private:
    widgets::TwipLabel* m_label;
    QTimer* m_timer;
    const calendar::Clock& m_clock;
    QLocale m_locale;
    QString m_format; // clockFormat(m_locale), worked out once
    int m_firstDelayMs;
    bool m_shownAny = false;
    qint64 m_shownSecond = 0; // whole seconds since the epoch of the last time shown
};

// Milliseconds from `now` to just after the next wall-clock second boundary.
int nextTickInterval(const QTime& now);

// The locale's long time format without its time-zone parts: hours, minutes,
// seconds and day period in the locale's order, separators and 12/24-hour form.
QString clockFormat(const QLocale& locale);

// `time` in clockFormat(locale).
QString clockText(const QTime& time, const QLocale& locale);

} // namespace navcal::extras
