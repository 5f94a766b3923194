#pragma once

#include "calendar/Clock.h"

#include <QDate>
#include <QObject>

namespace navcal::calendar {

// The one owner of today's date. Panels, banner and date line follow it; it
// tells them when the date changes, whichever way the clock went (midnight,
// New Year, a clock set back).
class Today : public QObject {
    Q_OBJECT
  public:
    explicit Today(const Clock& clock, QObject* parent = nullptr);

    QDate date() const { return m_date; }

    // Takes the clock's date without telling anyone: start-up, before anything follows.
    void reset();
    // A clock reading (the clock display's tick); a date other than the last
    // one is announced.
    void observe(const QDate& date);

  signals:
    void dayChanged(const QDate& date);

  private:
    const Clock& m_clock;
    QDate m_date;
};

} // namespace navcal::calendar
