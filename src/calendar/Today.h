#pragma once

#include "calendar/Clock.h"

#include <QDate>
#include <QObject>

namespace navcal::calendar {

// The one owner of today's date, which the panels, the banner and the date
// line read. A change of date is announced once, whichever way the clock went
// (midnight, New Year, a clock set back); the saver runs a new day's steps on it.
class Today : public QObject {
    Q_OBJECT
  public:
    explicit Today(const Clock& clock, QObject* parent = nullptr);

    QDate date() const { return m_date; }

    // Takes the clock's date without telling anyone: start-up, before anything follows.
    void reset();
    // A clock reading (each heartbeat's); a date other than the last one is
    // announced.
    void observe(const QDate& date);

  signals:
    void dayChanged(const QDate& date);

  private:
    const Clock& m_clock;
    QDate m_date;
};

} // namespace navcal::calendar
