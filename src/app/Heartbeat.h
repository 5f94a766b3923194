#pragma once

#include "calendar/Clock.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>
#include <functional>

namespace navcal::app {

// The saver's one clock: a single timer whose every beat advances the running
// state, always in this order: the clock's second, the day, the fill, the
// banner's check. While a fill runs it beats at the fill's pace; otherwise
// just after each wall-clock second. The clock shows its first second a set
// time after the start and each later one once it has begun, so no second is
// shown twice or skipped, however early or late a beat comes.
class Heartbeat : public QObject {
    Q_OBJECT
  public:
    // What a beat advances, in the order it runs them.
    struct Steps {
        std::function<void(const QDateTime&)> second; // a second not shown yet has begun
        std::function<void(const QDate&)> day;        // the date as the beat read it
        std::function<bool()> filling;                // whether a fill is under way
        std::function<void()> fill;                   // its next step
        std::function<void()> banner;                 // the banner's check
    };
    // `fillMs`: the fill's pace; `firstSecondMs`: how long after the start
    // the clock shows its first second.
    Heartbeat(const calendar::Clock& clock, Steps steps, int fillMs, int firstSecondMs,
              QObject* parent = nullptr);

    // Beats from now on.
    void start();
    // No beat after this.
    void stop();
    // One beat; the timer calls it.
    void beat();

    // How late after a wall-clock second a beat is aimed, in milliseconds.
    static constexpr int kLateMarginMs = 5;
    // Milliseconds from `now` to just after the next wall-clock second.
    static int nextSecondMs(const QTime& now);

  private:
    void arm(const QDateTime& now);

    const calendar::Clock& m_clock;
    Steps m_steps;
    int m_fillMs;
    int m_firstSecondMs;
    QTimer m_timer;
    QDeadlineTimer m_firstSecond{QDeadlineTimer::Forever};
    bool m_beating = false;
    bool m_shownAny = false;
    qint64 m_shownSecond = 0; // whole seconds since the epoch of the last second shown
};

} // namespace navcal::app
