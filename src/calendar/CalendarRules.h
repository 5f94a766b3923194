#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

// The date rules the month panels rest on. The panels are drawn for a week that
// begins on Monday and day strings are read day first, whatever the user's locale.
namespace navcal::calendar {

// Gregorian rule, written as the stored program tests it.
constexpr bool isLeapYear(int year) {
    return ((year % 400 == 0) || (year % 100 != 0)) && (year % 4 == 0);
}

// 1..12; February follows the leap rule.
int monthLength(int year, int month);

// Weekday of the 1st of a month, counted from Monday: 1 = Monday ... 7 = Sunday.
int weekdayOfFirst(int year, int month);

// A month's cells: five weeks and two days, Monday first. Day 31 of a month
// that begins on a Sunday stands in the last cell.
inline constexpr int kMonthCells = 37;

// Day cell (0..36) that day d takes in a month whose 1st has weekday w.
constexpr int cellOfDay(int day, int firstWeekday) {
    return day + firstWeekday - 2;
}

// Reads a day-month string "DD.MM" as that day of the given year, day first.
std::optional<QDate> readDayMonth(const QString& dayMonth, int year);

// Today's date in the locale's short date format, always with a four-digit year.
QString dateLine(const QDate& today, const QLocale& locale);

// The locale's short date format with the year widened to four digits.
QString shortDateFormatWithFullYear(const QLocale& locale);

} // namespace navcal::calendar
