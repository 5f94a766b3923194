#pragma once

#include <QDateTime>

namespace navcal::calendar {

// Where the program reads the time of day; tests put a fixed or stepping one in.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

class SystemClock final : public Clock {
  public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace navcal::calendar
