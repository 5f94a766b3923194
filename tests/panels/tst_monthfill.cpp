// The fill of the month panels, checked on whole panels once the fills are done.

#include "banner/ClockDisplay.h"
#include "calendar/CalendarRules.h"
#include "panels/PanelTestKit.h"
#include "support/TestServices.h"

#include <QtTest>

using namespace navcal;
using namespace navcal::test;

namespace {
constexpr layout::Colour red = 0x0000FF;
constexpr layout::Colour blue = 0xFF0000;
constexpr layout::Colour yellow = 0x00FFFF;

QString todayTip(const QDate& date) {
    return QStringLiteral("Сегодня ") + date.toString(QStringLiteral("dd.MM.yyyy"));
}
} // namespace

class MonthFill : public QObject {
    Q_OBJECT
  private slots:
    void markedCells_data();
    void markedCells();
    void wholePanels_data();
    void wholePanels();
    void stopsAfterItsTicks();
    void missingCellTickChangesNothing();
    void dateLineFollowsFebruary();
    void newDayAtMidnight_data();
    void newDayAtMidnight();
};

void MonthFill::markedCells_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<uint>("colour");
    QTest::addColumn<int>("border");
    QTest::addColumn<QString>("tip");

    const QDate december(2026, 12, 7);
    QTest::newRow("31-day month from Sunday: day 1")
        << december << 3 << 6 << "1" << uint(red) << 0 << "";
    QTest::newRow("31-day month from Sunday: day 31 in cell 36")
        << december << 3 << 36 << "31" << 0u << 0 << "";
    QTest::newRow("30-day month from Monday: day 30 in cell 29")
        << december << 6 << 29 << "30" << 0u << 0 << "";
    QTest::newRow("10 January on a Saturday")
        << december << 1 << 12 << "10" << uint(red) << 0 << "День инженер-механика";
    QTest::newRow("blue holiday on a weekday")
        << december << 1 << 17 << "15" << uint(blue) << 0 << "День Главного штаба ВМФ";
    QTest::newRow("today 23 February on a Thursday")
        << QDate(2023, 2, 23) << 2 << 24 << "23" << uint(red) << 1 << "День защитника Отечества";
    QTest::newRow("today an ordinary Wednesday")
        << QDate(2026, 12, 16) << 12 << 16 << "16" << uint(yellow) << 1
        << todayTip(QDate(2026, 12, 16));
    QTest::newRow("1 July on a Sunday: first Sunday")
        << QDate(2018, 12, 7) << 7 << 6 << "1" << uint(red) << 0 << "День морского и речного флота";
    QTest::newRow("1 July on a Sunday: second Sunday")
        << QDate(2018, 12, 7) << 7 << 13 << "8" << uint(red) << 0 << "День рыбака";
    QTest::newRow("1 July on a Sunday: last Sunday")
        << QDate(2018, 12, 7) << 7 << 34 << "29" << uint(red) << 0 << "День Военно-Морского Флота";
    QTest::newRow("July: 17th on a Friday, blue")
        << december << 7 << 18 << "17" << uint(blue) << 0 << "День авиации ВМФ";
    QTest::newRow("April cell 13")
        << december << 4 << 13 << "12" << uint(red) << 0 << "День селёдки";
    QTest::newRow("1 January 2024, a Monday, in cell 0")
        << QDate(2024, 6, 5) << 1 << 0 << "1" << uint(red) << 0 << "День тельняшки; Новый год";
    QTest::newRow("today 1 January 2024 in cell 0")
        << QDate(2024, 1, 1) << 1 << 0 << "1" << uint(red) << 1 << "День тельняшки; Новый год";
}

void MonthFill::markedCells() {
    QFETCH(QDate, today);
    QFETCH(int, month);
    QFETCH(int, cell);
    QFETCH(QString, caption);
    QFETCH(uint, colour);
    QFETCH(int, border);
    QFETCH(QString, tip);

    TestWindow w(today);
    auto& form = w.make();
    form.load();
    // 0 in the data stands for the colour the cell is stored with.
    const layout::Colour stored = dayCell(form, month, cell)->foreColor();
    runAllFills(form);

    const layout::TwipLabel* label = dayCell(form, month, cell);
    QCOMPARE(label->caption(), caption);
    QCOMPARE(label->foreColor(), colour ? layout::Colour(colour) : stored);
    QCOMPARE(label->borderStyle(), border);
    QCOMPARE(label->toolTipText(), tip);
}

void MonthFill::wholePanels_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("framedTip"); // the framed cell's tooltip
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QTest::newRow("2026, a year starting on Thursday")
        << QDate(2026, 12, 16) << russian << "Сегодня 16.12.2026";
    QTest::newRow("2024, leap, 1 January a Monday")
        << QDate(2024, 1, 1) << russian << "День тельняшки; Новый год";
    QTest::newRow("2018, 1 July a Sunday")
        << QDate(2018, 7, 1) << russian << "День морского и речного флота";
    // A locale whose week begins on Sunday draws the same Monday-first panels.
    QTest::newRow("2026 in a Sunday-first locale")
        << QDate(2026, 3, 10) << QLocale(QLocale::English, QLocale::UnitedStates)
        << "Сегодня 3/10/2026";
}

void MonthFill::wholePanels() {
    QFETCH(QDate, today);
    QFETCH(QLocale, locale);
    QFETCH(QString, framedTip);
    TestWindow w(today, QSize(1024, 768), locale);
    auto& form = w.make();
    form.load();
    QVector<QVector<Look>> before;
    for (int month = 1; month <= 12; ++month)
        before << panelLook(form, month);
    runAllFills(form);

    int framed = 0;
    for (int month = 1; month <= 12; ++month) {
        for (int i = 0; i < layout::kCellsPerMonth; ++i) {
            const layout::TwipLabel* cell = dayCell(form, month, i);
            const QString expected = expectedCaption(today.year(), month, i);
            QVERIFY2(cell->caption() == expected,
                     qPrintable(QStringLiteral("month %1 cell %2: '%3' instead of '%4'")
                                    .arg(month)
                                    .arg(i)
                                    .arg(cell->caption(), expected)));
            if (isWeekendCell(i))
                QCOMPARE(cell->foreColor(), red);
            if (cell->borderStyle() == 1) {
                ++framed;
                QCOMPARE(month, today.month());
                QCOMPARE(cell->caption(), QString::number(today.day()));
                QCOMPARE(cell->toolTipText(), framedTip);
            }
            // Cells outside the month carry no tooltip from the fill.
            if (expected.isEmpty() && !(month == 4 && i == 13)) {
                QCOMPARE(cell->toolTipText(), before[month - 1][i].tip);
                if (!isWeekendCell(i))
                    QCOMPARE(cell->foreColor(), before[month - 1][i].colour);
            }
        }
    }
    QCOMPARE(framed, 1);
    // August has no holidays: only the weekend rows and today change colour.
    for (int i = 0; i < layout::kCellsPerMonth; ++i) {
        const layout::TwipLabel* cell = dayCell(form, 8, i);
        if (!isWeekendCell(i) && cell->borderStyle() == 0)
            QCOMPARE(cell->foreColor(), before[7][i].colour);
    }
}

void MonthFill::stopsAfterItsTicks() {
    for (const QDate today : {QDate(2024, 3, 3)}) {
        TestWindow w(today);
        auto& form = w.make();
        form.load();
        for (int month = 1; month <= 12; ++month) {
            QCOMPARE(runFill(form, month), month == 2 ? 35 : 37);
            // A stray tick after the stop changes nothing.
            const auto filled = panelLook(form, month);
            form.monthPanels().fillTick(month);
            QVERIFY(!fillTimer(form, month)->isActive());
            QVERIFY(panelLook(form, month) == filled);
        }
    }
}

void MonthFill::missingCellTickChangesNothing() {
    // March 2026 begins on a Sunday: day 31 stands in cell 36, the last cell.
    TestWindow w(QDate(2026, 3, 31));
    auto& form = w.make();
    form.load();
    for (int tick = 0; tick < 36; ++tick)
        form.monthPanels().fillTick(3);
    const auto beforeLast = panelLook(form, 3);
    QCOMPARE(beforeLast[36].caption, QStringLiteral("31"));
    QCOMPARE(beforeLast[36].border, 1);
    form.monthPanels().fillTick(3);
    QVERIFY(panelLook(form, 3) == beforeLast);
}

void MonthFill::dateLineFollowsFebruary() {
    TestWindow w(QDate(2026, 2, 5));
    auto& form = w.make();
    form.load();
    auto* dateLine = form.controls().label(QStringLiteral("Label114"));
    const QString stored = dateLine->caption();
    for (int month : {1, 3, 12})
        runFill(form, month);
    QCOMPARE(dateLine->caption(), stored);
    form.monthPanels().fillTick(2);
    QCOMPARE(dateLine->caption(), QStringLiteral("05.02.2026"));
}

void MonthFill::newDayAtMidnight_data() {
    QTest::addColumn<QDateTime>("before");
    QTest::addColumn<QDateTime>("after");
    QTest::addColumn<uint>("colour");
    QTest::addColumn<QString>("tip");
    QTest::newRow("into 24 February, a Tuesday") << QDateTime(QDate(2026, 2, 23), QTime(23, 59, 59))
                                                 << QDateTime(QDate(2026, 2, 24), QTime(0, 0, 0))
                                                 << uint(yellow) << todayTip(QDate(2026, 2, 24));
    QTest::newRow("into a new year")
        << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59))
        << QDateTime(QDate(2027, 1, 1), QTime(0, 0, 1)) << uint(red) << "День тельняшки; Новый год";
}

void MonthFill::newDayAtMidnight() {
    QFETCH(QDateTime, before);
    QFETCH(QDateTime, after);
    QFETCH(uint, colour);
    QFETCH(QString, tip);
    TestWindow w(before.date());
    w.clock.set(before);
    auto& form = w.make();
    form.load();
    runAllFills(form);
    const QDate oldDay = before.date();
    const QDate newDay = after.date();
    // A title click before midnight: the new day's fill paints over it.
    w.random.script({0.15}); // green, a colour the fill never gives
    form.monthPanels().titleClicked(newDay.month());
    QCOMPARE(dayCell(form, newDay.month(), 1)->foreColor(), layout::Colour(0x008000));

    w.clock.set(after);
    emit form.clockDisplay().ticked(after);
    for (int month = 1; month <= 12; ++month)
        QVERIFY(fillTimer(form, month)->isActive());
    runAllFills(form);

    for (int month = 1; month <= 12; ++month) {
        for (int i = 0; i < layout::kCellsPerMonth; ++i) {
            const layout::TwipLabel* cell = dayCell(form, month, i);
            QCOMPARE(cell->caption(), expectedCaption(newDay.year(), month, i));
            const bool isNewDay =
                month == newDay.month() && cell->caption() == QString::number(newDay.day());
            QCOMPARE(cell->borderStyle(), isNewDay ? 1 : 0);
            QVERIFY(cell->foreColor() != 0x008000);
            if (month == oldDay.month() && cell->caption() == QString::number(oldDay.day()) &&
                oldDay.year() == newDay.year())
                QVERIFY(!cell->toolTipText().startsWith(QStringLiteral("Сегодня")));
        }
    }
    QCOMPARE(form.TodayDate, newDay);
    QCOMPARE(form.controls().label(QStringLiteral("Label114"))->caption(),
             newDay.toString(QStringLiteral("dd.MM.yyyy")));
    // The new day's cell: yellow on a weekday, the holiday's look on a holiday.
    const int newCell =
        calendar::cellOfDay(newDay.day(), QDate(newDay.year(), newDay.month(), 1).dayOfWeek());
    const layout::TwipLabel* framed = dayCell(form, newDay.month(), newCell);
    QCOMPARE(framed->toolTipText(), tip);
    QCOMPARE(framed->foreColor(), layout::Colour(colour));
    // Yesterday's cell keeps only what the fill gives any day.
    if (oldDay.month() == 2) {
        const layout::TwipLabel* old = dayCell(form, 2, calendar::cellOfDay(23, 7));
        QCOMPARE(old->toolTipText(), QStringLiteral("День защитника Отечества"));
        QCOMPARE(old->foreColor(), red);
    }
}

QTEST_MAIN(MonthFill)
#include "tst_monthfill.moc"
