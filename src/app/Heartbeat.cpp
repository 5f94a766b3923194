#include "app/Heartbeat.h"

namespace navcal::app {

Heartbeat::Heartbeat(const calendar::Clock& clock, Steps steps, int fillMs, int firstSecondMs,
                     QObject* parent)
    : QObject(parent), m_clock(clock), m_steps(std::move(steps)), m_fillMs(fillMs),
      m_firstSecondMs(firstSecondMs) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Heartbeat::beat);
}

void Heartbeat::start() {
    m_beating = true;
    m_firstSecond = QDeadlineTimer(m_firstSecondMs, Qt::PreciseTimer);
    m_timer.start(m_fillMs);
}

void Heartbeat::stop() {
    m_beating = false;
    m_timer.stop();
}

void Heartbeat::beat() {
    const QDateTime now = m_clock.now();
    if (m_firstSecond.hasExpired()) {
        // A beat before the next second has begun (the wall clock is read,
        // the timer runs on its own clock) shows nothing new; a clock set
        // back is followed.
        const qint64 second = now.toSecsSinceEpoch();
        if (!m_shownAny || second != m_shownSecond) {
            m_shownAny = true;
            m_shownSecond = second;
            m_steps.second(now);
        }
    }
    m_steps.day(now.date());
    if (m_steps.filling())
        m_steps.fill();
    m_steps.banner();
    arm(now);
}

void Heartbeat::arm(const QDateTime& now) {
    if (!m_beating)
        return;
    // A fill that a beat's steps started over (a new day) goes on at its
    // pace from the next beat.
    if (m_steps.filling())
        m_timer.start(m_fillMs);
    else if (!m_firstSecond.hasExpired())
        m_timer.start(int(m_firstSecond.remainingTime()));
    else
        m_timer.start(nextSecondMs(now.time()));
}

int Heartbeat::nextSecondMs(const QTime& now) {
    return 1000 - now.msec() + kLateMarginMs;
}

} // namespace navcal::app
