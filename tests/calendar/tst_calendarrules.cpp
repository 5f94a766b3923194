#include "calendar/CalendarRules.h"

#include <QtTest>
#include <chrono>

using namespace navcal::calendar;
namespace chr = std::chrono;

class TestCalendarRules : public QObject {
    Q_OBJECT
  private slots:
    void everyMonthAgainstChrono();
    void readDayMonth_data();
    void readDayMonth();
    void dateLine_data();
    void dateLine();
};

// Month lengths, the weekday of the 1st and the cell of every day, checked
// against the standard library's calendar for every month of 1900-2100.
void TestCalendarRules::everyMonthAgainstChrono() {
    for (int year = 1900; year <= 2100; ++year) {
        QCOMPARE(isLeapYear(year), chr::year(year).is_leap());
        for (int month = 1; month <= 12; ++month) {
            const chr::year_month ym{chr::year(year), chr::month(unsigned(month))};
            const auto last = chr::year_month_day_last(ym.year(), chr::month_day_last(ym.month()));
            const int length = int(unsigned(last.day()));
            QCOMPARE(monthLength(year, month), length);

            const chr::weekday first{chr::sys_days(ym / 1)};
            const int expectedW = int(first.iso_encoding()); // Monday 1 ... Sunday 7
            const int w = weekdayOfFirst(year, month);
            QCOMPARE(w, expectedW);

            for (int d = 1; d <= length; ++d) {
                const int cell = cellOfDay(d, w);
                QVERIFY(cell >= 0 && cell <= 36);
                const chr::weekday wd{chr::sys_days(ym / chr::day(unsigned(d)))};
                // The row of the cell is the day's weekday, Monday at the top.
                QCOMPARE(cell % 7, int(wd.iso_encoding()) - 1);
                // Weeks run left to right: day d sits in the column of its week.
                QCOMPARE(cell / 7, (d - 1 + (expectedW - 1)) / 7);
            }
        }
    }
}

void TestCalendarRules::readDayMonth_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("year");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("first of February is day first") << "01.02" << 2026 << QDate(2026, 2, 1);
    QTest::newRow("23 February") << "23.02" << 2026 << QDate(2026, 2, 23);
    QTest::newRow("29 February in a leap year") << "29.02" << 2024 << QDate(2024, 2, 29);
    QTest::newRow("29 February otherwise") << "29.02" << 2023 << QDate();
    QTest::newRow("month 13") << "01.13" << 2026 << QDate();
    QTest::newRow("not a date") << "1st Jan" << 2026 << QDate();
}

void TestCalendarRules::readDayMonth() {
    QFETCH(QString, text);
    QFETCH(int, year);
    QFETCH(QDate, expected);
    const auto date = navcal::calendar::readDayMonth(text, year);
    QCOMPARE(date.value_or(QDate()), expected);
}

void TestCalendarRules::dateLine_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("expected");
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    QTest::newRow("ru") << ru << QDate(2026, 12, 7) << "07.12.2026";
    QTest::newRow("ru single digits") << ru << QDate(2027, 1, 1) << "01.01.2027";
    QTest::newRow("us, month first and a short year in its format")
        << QLocale(QLocale::English, QLocale::UnitedStates) << QDate(2026, 12, 7) << "12/7/2026";
}

void TestCalendarRules::dateLine() {
    QFETCH(QLocale, locale);
    QFETCH(QDate, date);
    QFETCH(QString, expected);
    QCOMPARE(navcal::calendar::dateLine(date, locale), expected);
}

QTEST_APPLESS_MAIN(TestCalendarRules)
#include "tst_calendarrules.moc"
