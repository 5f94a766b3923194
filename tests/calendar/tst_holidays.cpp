// The holiday table: the loader's handling of malformed rows, and the
// compiled-in table's consistency.

#include "calendar/CalendarRules.h"
#include "calendar/Holidays.h"

#include <QtTest>

using namespace navcal::calendar;

namespace {
const QString kRow = QStringLiteral("%1 | %2 | %3 | %4 | %5 | %6 | %7 | %8");

QString row(const char* when, const char* grid, const char* tip, const char* click,
            const char* banner, const char* text, const char* sunday = "-",
            const char* sundayText = "-") {
    return kRow.arg(QString::fromUtf8(when), QString::fromUtf8(grid), QString::fromUtf8(tip),
                    QString::fromUtf8(click), QString::fromUtf8(banner), QString::fromUtf8(text),
                    QString::fromUtf8(sunday), QString::fromUtf8(sundayText));
}
} // namespace

class TestHolidays : public QObject {
    Q_OBJECT
  private slots:
    void readsARow();
    void malformedRows_data();
    void malformedRows();
    void compiledTableIsSound();
    void everyMarkedDayIsAGridHoliday();
    void julyRulesHoldOneSundayEveryYear();
};

void TestHolidays::readsARow() {
    const HolidayTable table = parseHolidayTable(
        QStringLiteral("# a comment\n\n") +
        row("07.07", "-", "-", "-", "blue", "A\\n B  !", "red", "S\\nT") + QLatin1Char('\n') +
        row("Sunday 25.07-31.07", "blue", "Tip", "-", "-", "Fleet") + QLatin1Char('\n') +
        row("cell 13 of 04", "-", "Herring", "-", "-", "-") + QLatin1Char('\n') +
        row("23.02", "red", "Defender", "mark+tip", "-", "-"));
    QVERIFY2(table.errors.isEmpty(), qPrintable(table.errors.join(u'\n')));
    QCOMPARE(table.rows.size(), size_t(4));
    const Holiday& day = table.rows[0];
    QCOMPARE(day.kind, Holiday::Kind::Date);
    QCOMPARE(day.month, 7);
    QCOMPARE(day.day, 7);
    QVERIFY(!day.gridColour);
    QCOMPARE(day.bannerColour, std::optional(navcal::layout::colours::blue));
    // Inner spaces stay; \n is a CR LF line break.
    QCOMPARE(day.bannerText, QStringLiteral("A\r\n B  !"));
    QCOMPARE(day.sundayText, QStringLiteral("S\r\nT"));
    const Holiday& rule = table.rows[1];
    QCOMPARE(rule.kind, Holiday::Kind::SundayIn);
    QCOMPARE(rule.day, 25);
    QCOMPARE(rule.lastDay, 31);
    QCOMPARE(table.rows[2].kind, Holiday::Kind::FixedCell);
    QCOMPARE(table.rows[2].cell, 13);
    QCOMPARE(table.rows[2].month, 4);
    QCOMPARE(table.rows[3].titleClick, Holiday::TitleClick::MarkWithTip);
}

void TestHolidays::malformedRows_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("too few fields") << QStringLiteral("01.01 | red | Tip | mark | - | Text | -");
    QTest::newRow("a stray bar") << row("01.01", "red", "Tip|x", "mark", "-", "Text");
    QTest::newRow("no such day") << row("30.02", "red", "Tip", "-", "-", "-");
    QTest::newRow("month first") << row("1.13", "red", "Tip", "-", "-", "-");
    QTest::newRow("unknown colour") << row("01.01", "green", "Tip", "-", "-", "-");
    QTest::newRow("unknown click") << row("01.01", "red", "Tip", "marks", "-", "-");
    QTest::newRow("mark without grid colour") << row("01.01", "-", "-", "mark", "-", "Text");
    QTest::newRow("tip mark without tip") << row("01.01", "red", "-", "mark+tip", "-", "-");
    QTest::newRow("run of six days") << row("Sunday 01.07-06.07", "blue", "Tip", "-", "-", "-");
    QTest::newRow("run across months") << row("Sunday 28.07-03.08", "blue", "Tip", "-", "-", "-");
    QTest::newRow("cell out of range") << row("cell 37 of 04", "-", "Tip", "-", "-", "-");
    QTest::newRow("coloured cell") << row("cell 13 of 04", "red", "Tip", "-", "-", "-");
    QTest::newRow("Sunday text on a rule")
        << row("Sunday 01.07-07.07", "blue", "Tip", "-", "-", "Text", "red", "Sun");
    QTest::newRow("banner colour without text") << row("01.01", "red", "Tip", "-", "blue", "-");
    QTest::newRow("Sunday colour without text") << row("01.01", "-", "-", "-", "-", "T", "red");
    QTest::newRow("empty row") << row("01.01", "-", "-", "-", "-", "-");
    QTest::newRow("twice") << row("01.01", "red", "A", "-", "-", "-") + QLatin1Char('\n') +
                                  row("01.01", "red", "B", "-", "-", "-");
}

void TestHolidays::malformedRows() {
    QFETCH(QString, text);
    const HolidayTable table = parseHolidayTable(QStringLiteral("# header\n") + text);
    QCOMPARE(table.errors.size(), 1);
    // The message names the line of the bad row.
    QVERIFY2(table.errors[0].startsWith(QStringLiteral("line 2: ")) ||
                 table.errors[0].startsWith(QStringLiteral("line 3: ")),
             qPrintable(table.errors[0]));
}

// The program's own table loads without an error and every banner day is a
// day of the calendar.
void TestHolidays::compiledTableIsSound() {
    QFile file(QStringLiteral(":/holidays.txt"));
    (void)holidays(); // registers the resources
    QVERIFY(file.open(QIODevice::ReadOnly));
    const HolidayTable table = parseHolidayTable(QString::fromUtf8(file.readAll()));
    QVERIFY2(table.errors.isEmpty(), qPrintable(table.errors.join(u'\n')));
    QCOMPARE(table.rows.size(), holidays().size());
    int banners = 0;
    for (const Holiday& h : holidays()) {
        if (h.kind == Holiday::Kind::Date && !h.bannerText.isEmpty()) {
            ++banners;
            const QString key = QStringLiteral("%1.%2")
                                    .arg(h.day, 2, 10, QLatin1Char('0'))
                                    .arg(h.month, 2, 10, QLatin1Char('0'));
            QVERIFY2(readDayMonth(key, 2026), qPrintable(key));
        }
        QVERIFY2(!h.bannerText.contains(QLatin1String("\\n")), qPrintable(h.when));
    }
    QVERIFY(banners > 0);
}

// A title click marks only days the grid colours, in the grid's colour.
void TestHolidays::everyMarkedDayIsAGridHoliday() {
    int marked = 0;
    for (const Holiday& h : holidays()) {
        if (h.titleClick == Holiday::TitleClick::None)
            continue;
        ++marked;
        QCOMPARE(h.kind, Holiday::Kind::Date);
        QVERIFY2(h.gridColour, qPrintable(h.when));
    }
    QVERIFY(marked > 0);
}

// Each July rule's run holds exactly one Sunday, and together they find the
// first, second and last Sunday of July, from 1900 to 2100.
void TestHolidays::julyRulesHoldOneSundayEveryYear() {
    std::vector<const Holiday*> rules;
    for (const Holiday* h : holidaysIn(7))
        if (h->kind == Holiday::Kind::SundayIn)
            rules.push_back(h);
    QCOMPARE(rules.size(), size_t(3));
    for (int year = 1900; year <= 2100; ++year) {
        QList<int> sundays;
        for (int day = 1; day <= 31; ++day)
            if (QDate(year, 7, day).dayOfWeek() == Qt::Sunday)
                sundays << day;
        const int expected[3] = {sundays.first(), sundays.at(1), sundays.last()};
        for (int r = 0; r < 3; ++r) {
            QList<int> found;
            for (int day = rules[r]->day; day <= rules[r]->lastDay; ++day)
                if (QDate(year, 7, day).dayOfWeek() == Qt::Sunday)
                    found << day;
            QCOMPARE(found, QList<int>{expected[r]});
        }
    }
}

QTEST_GUILESS_MAIN(TestHolidays)
#include "tst_holidays.moc"
