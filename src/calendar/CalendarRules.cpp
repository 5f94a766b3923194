#include "calendar/CalendarRules.h"

#include <QRegularExpression>

namespace navcal::calendar {

int monthLength(int year, int month) {
    static constexpr int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    if (month == 2 && isLeapYear(year))
        return 29;
    return lengths[month - 1];
}

int weekdayOfFirst(int year, int month) {
    // QDate::dayOfWeek is ISO: Monday 1 ... Sunday 7, whatever the locale.
    return QDate(year, month, 1).dayOfWeek();
}

std::optional<QDate> readDayMonth(const QString& dayMonth, int year) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})$"));
    const auto match = pattern.match(dayMonth.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(year, match.captured(2).toInt(), match.captured(1).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString shortDateFormatWithFullYear(const QLocale& locale) {
    QString format = locale.dateFormat(QLocale::ShortFormat);
    // Widen a two-digit year ("yy") to four digits; leave "yyyy" alone.
    static const QRegularExpression shortYear(QStringLiteral("(?<!y)yy(?!y)"));
    format.replace(shortYear, QStringLiteral("yyyy"));
    if (!format.contains(QLatin1Char('y')))
        format += QStringLiteral(" yyyy");
    return format;
}

QString dateLine(const QDate& today, const QLocale& locale) {
    return locale.toString(today, shortDateFormatWithFullYear(locale));
}

} // namespace navcal::calendar
