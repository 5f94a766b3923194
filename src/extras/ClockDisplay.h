#pragma once

#include "widgets/TwipLabel.h"

#include <QDateTime>
#include <QLocale>
#include <QObject>

namespace navcal::extras {

// The clock: the time of day on its label, shown as the saver's heartbeat
// brings each second.
class ClockDisplay : public QObject {
    Q_OBJECT
  public:
    ClockDisplay(widgets::TwipLabel* label, QLocale locale, QObject* parent = nullptr);

    // Shows the time of `now`.
    void show(const QDateTime& now);

  private:
    widgets::TwipLabel* m_label;
    QLocale m_locale;
    QString m_format; // clockFormat(m_locale), worked out once
};

// The locale's long time format without its time-zone parts: hours, minutes,
// seconds and day period in the locale's order, separators and 12/24-hour form.
QString clockFormat(const QLocale& locale);

} // namespace navcal::extras
