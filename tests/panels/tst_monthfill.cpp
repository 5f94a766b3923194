// The fill of the month panels, checked on whole panels once the fills are done.

#include "calendar/CalendarRules.h"
#include "calendar/Holidays.h"
#include "calendar/MonthModel.h"
#include "extras/ClockDisplay.h"
#include "panels/PanelTestKit.h"
#include "support/DrawnLabels.h"
#include "support/TestServices.h"

#include <QFontMetricsF>
#include <QtMath>
#include <QtTest>

using namespace navcal;
using namespace navcal::test;

namespace {
constexpr layout::Colour red = 0xFF0000;
constexpr layout::Colour yellow = 0xFFFF00;

QString todayTip(const QDate& date) {
    return QStringLiteral("Сегодня ") + date.toString(QStringLiteral("dd.MM.yyyy"));
}

// A holiday's mark on the cell showing `date`, as the rule engine answers it
// (checked against written calendars in its own test): its tooltip, and its
// colour unless the cell is a weekend's.
void markHoliday(const QDate& date, bool weekend, Look& look) {
    const calendar::HolidayLook holiday = calendar::holidayOn(date);
    if (holiday.gridColour && !weekend)
        look.colour = *holiday.gridColour;
    if (!holiday.gridTip.isEmpty())
        look.tip = holiday.gridTip;
}

using Panels = QVector<QVector<Look>>;

Panels allPanels(app::CalendarWindow& form) {
    Panels panels;
    for (int month = 1; month <= 12; ++month)
        panels << panelLook(form, month);
    return panels;
}

// What a filled cell must show in today's year, from its stored look, the
// date and the holidays. `framedTip` is today's tooltip on a plain day.
Look expectedLook(const QDate& today, int month, int index, Look look, const QString& framedTip) {
    look.caption = expectedCaption(today.year(), month, index);
    look.border = 0;
    const bool weekend = isWeekendCell(index);
    if (weekend)
        look.colour = red;
    if (look.caption.isEmpty())
        return look;
    const QDate date(today.year(), month, look.caption.toInt());
    if (date == today) {
        look.border = 1;
        look.colour = weekend ? red : yellow;
        look.tip = framedTip;
    }
    markHoliday(date, weekend, look);
    return look;
}

QString describe(const Look& l) {
    return QStringLiteral("'%1' %2 border %3 '%4'")
        .arg(l.caption)
        .arg(l.colour, 6, 16, QLatin1Char('0'))
        .arg(l.border)
        .arg(l.tip);
}

// Every cell of the twelve filled panels against what the date says.
void compareWithCalendar(app::CalendarWindow& form, const QDate& today, const Panels& stored,
                         const QString& framedTip) {
    for (int month = 1; month <= 12; ++month) {
        for (int i = 0; i < layout::kCellsPerMonth; ++i) {
            const Look shown = lookOf(dayCell(form, month, i));
            const Look expected = expectedLook(today, month, i, stored[month - 1][i], framedTip);
            QVERIFY2(shown == expected, qPrintable(QStringLiteral("%1-%2 cell %3: %4 instead of %5")
                                                       .arg(today.year())
                                                       .arg(month)
                                                       .arg(i)
                                                       .arg(describe(shown), describe(expected))));
        }
    }
}
} // namespace

class MonthFill : public QObject {
    Q_OBJECT
  private slots:
    void markedCells_data();
    void markedCells();
    void wholePanels_data();
    void wholePanels();
    void dateLineFollowsFebruary_data();
    void dateLineFollowsFebruary();
    void newDayAtMidnight_data();
    void newDayAtMidnight();
    void sameDayTickKeepsPanels();
    void drawnColours_data();
    void drawnColours();
};

void MonthFill::markedCells_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<uint>("colour"); // 0: the cell keeps its stored colour
    QTest::addColumn<bool>("framed");
    QTest::addColumn<QString>("tip");
    // A few cells written out by hand, to hold the whole-panel check's own
    // rules to real dates: today on a holiday, a Sunday holiday, the last cell.
    QTest::newRow("today 23 February on a Thursday")
        << QDate(2023, 2, 23) << 2 << 24 << "23" << uint(red) << true << "День защитника Отечества";
    QTest::newRow("1 July on a Sunday: first Sunday")
        << QDate(2018, 12, 7) << 7 << 6 << "1" << uint(red) << false
        << "День морского и речного флота";
    QTest::newRow("12 April, the second Sunday")
        << QDate(2026, 12, 7) << 4 << 13 << "12" << uint(red) << false << "День селёдки";
    QTest::newRow("14 April 2024, the second Sunday, today")
        << QDate(2024, 4, 14) << 4 << 13 << "14" << uint(red) << true << "День селёдки";
    QTest::newRow("31 March 2026, today, in the last cell")
        << QDate(2026, 3, 31) << 3 << 36 << "31" << uint(yellow) << true << "Сегодня 31.03.2026";
    QTest::newRow("29 February 2024 on a Thursday")
        << QDate(2024, 3, 1) << 2 << 31 << "29" << 0u << false << "";
    QTest::newRow("no 29 February in 2026: a Saturday cell left empty")
        << QDate(2026, 3, 1) << 2 << 34 << "" << uint(red) << false << "";
}

void MonthFill::markedCells() {
    QFETCH(QDate, today);
    QFETCH(int, month);
    QFETCH(int, cell);
    QFETCH(QString, caption);
    QFETCH(uint, colour);
    QFETCH(bool, framed);
    QFETCH(QString, tip);

    // No window: the month as the calendar works it out.
    const calendar::DayCell shown =
        calendar::monthCells(today.year(), month, today, QLocale(QLocale::Russian)).at(cell);
    QCOMPARE(shown.caption, caption);
    QCOMPARE(shown.colour.value_or(0), colour);
    QCOMPARE(shown.framed, framed);
    QCOMPARE(shown.tip, tip);
}

void MonthFill::wholePanels_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("framedTip"); // today's tooltip on a day without a holiday
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QTest::newRow("2026, a year starting on Thursday")
        << QDate(2026, 12, 16) << russian << "Сегодня 16.12.2026";
    QTest::newRow("2024, leap, 1 January a Monday, 7 and 14 July Sundays")
        << QDate(2024, 1, 1) << russian << "Сегодня 01.01.2024";
    QTest::newRow("2018, 1 July a Sunday") << QDate(2018, 7, 1) << russian << "Сегодня 01.07.2018";
    QTest::newRow("2022, 31 July a Sunday")
        << QDate(2022, 7, 31) << russian << "Сегодня 31.07.2022";
    QTest::newRow("2023, 1 January a Sunday, 30 July the last Sunday")
        << QDate(2023, 4, 9) << russian << "Сегодня 09.04.2023";
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
    auto& form = w.loaded();
    const Panels stored = allPanels(form);
    for (int month = 1; month <= 12; ++month)
        QVERIFY2(runFill(*w.saver, month) > 0, "the fill never stopped");
    compareWithCalendar(form, today, stored, framedTip);
}

void MonthFill::dateLineFollowsFebruary_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::newRow("day-first digits") << QLocale(QLocale::Russian, QLocale::Russia) << "05.02.2026";
    QTest::newRow("a month's name, wider than the stored line") << QLocale::c() << "5 Feb 2026";
}

// Written by February's fill alone, and shown whole about the stored centre.
void MonthFill::dateLineFollowsFebruary() {
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    TestWindow w(QDate(2026, 2, 5), QSize(1024, 768), locale);
    auto& form = w.loaded();
    auto* dateLine = form.controls().roles().dateLine;
    const QString stored = dateLine->caption();
    const QRect storedGeometry = dateLine->geometry();
    for (int month : {1, 3, 12})
        runFill(*w.saver, month);
    QCOMPARE(dateLine->caption(), stored);
    w.saver->panels().fillTick(2);
    QCOMPARE(dateLine->caption(), text);
    const int inked = qCeil(QFontMetricsF(dateLine->font()).horizontalAdvance(text));
    QVERIFY2(dateLine->width() >= inked, qPrintable(QString::number(inked)));
    // A date that fits keeps the stored look.
    QCOMPARE(dateLine->width() > storedGeometry.width(), inked > storedGeometry.width());
    QVERIFY(qAbs(dateLine->geometry().center().x() - storedGeometry.center().x()) <= 1);
}

void MonthFill::newDayAtMidnight_data() {
    QTest::addColumn<QDateTime>("before");
    QTest::addColumn<QDateTime>("after");
    QTest::addColumn<QString>("framedTip");
    QTest::newRow("into 24 February, a Tuesday")
        << QDateTime(QDate(2026, 2, 23), QTime(23, 59, 59))
        << QDateTime(QDate(2026, 2, 24), QTime(0, 0, 0)) << todayTip(QDate(2026, 2, 24));
    QTest::newRow("from an ordinary Tuesday into Wednesday")
        << QDateTime(QDate(2026, 3, 10), QTime(23, 59, 59))
        << QDateTime(QDate(2026, 3, 11), QTime(0, 0, 0)) << todayTip(QDate(2026, 3, 11));
    QTest::newRow("into a new year, every day in another cell")
        << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59))
        << QDateTime(QDate(2027, 1, 1), QTime(0, 0, 1)) << todayTip(QDate(2027, 1, 1));
}

void MonthFill::newDayAtMidnight() {
    QFETCH(QDateTime, before);
    QFETCH(QDateTime, after);
    QFETCH(QString, framedTip);
    TestWindow w(before.date());
    w.clock.set(before);
    auto& form = w.loaded();
    const Panels stored = allPanels(form);
    runAllFills(*w.saver);
    const QDate newDay = after.date();
    // A title click before midnight: the new day's fill paints over it.
    w.random.script({0.15}); // green, a colour the fill never gives
    w.saver->panels().titleClicked(newDay.month());
    QCOMPARE(dayCell(form, newDay.month(), 1)->foreColor(), layout::Colour(0x008000));

    w.clock.set(after);
    emit w.saver->clockDisplay().ticked(after);
    for (int month = 1; month <= 12; ++month)
        QVERIFY(fillTimer(form, month)->isActive());
    runAllFills(*w.saver);

    // Yesterday's frame, its «Сегодня» tooltip and the old year's holiday
    // tooltips are gone; every cell shows what the new day says.
    compareWithCalendar(form, newDay, stored, framedTip);
    QCOMPARE(w.saver->today().date(), newDay);
    QCOMPARE(form.controls().roles().dateLine->caption(),
             newDay.toString(QStringLiteral("dd.MM.yyyy")));
}

void MonthFill::sameDayTickKeepsPanels() {
    TestWindow w(QDate(2026, 3, 10));
    auto& form = w.loaded();
    runAllFills(*w.saver);
    w.random.script({0.15});
    w.saver->panels().titleClicked(3);
    const Panels clicked = allPanels(form);
    for (const QTime time : {QTime(12, 0, 1), QTime(23, 59, 59)}) {
        const QDateTime now(QDate(2026, 3, 10), time);
        w.clock.set(now);
        emit w.saver->clockDisplay().ticked(now);
        for (int month = 1; month <= 12; ++month)
            QVERIFY(!fillTimer(form, month)->isActive());
        QVERIFY(allPanels(form) == clicked);
    }
}

void MonthFill::drawnColours_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("frame"); // today's frame in pixels: the design's one, scaled
    QTest::newRow("1024x768, the design's size") << QSize(1024, 768) << 1;
    QTest::newRow("3840x2160, scaled 2.8 times") << QSize(3840, 2160) << 3;
}

// The filled panel as drawn, pixel by pixel: the stored colour order is what
// makes red red on the screen, and today's frame grows with the calendar.
void MonthFill::drawnColours() {
    QFETCH(QSize, screen);
    QFETCH(int, frame);
    // December 2026 begins on a Tuesday: Sunday the 6th in cell 6, the blue
    // 9th on a Wednesday in cell 9, an ordinary Thursday the 10th in cell 10.
    TestWindow w(QDate(2026, 12, 16), screen);
    auto& form = w.loaded();
    runAllFills(*w.saver);
    layout::MonthView* december = form.controls().roles().month(12).view;
    const auto drawn = [&](int index) {
        const QRect cell = dayCell(form, 12, index)->geometry();
        return december->grab(cell.translated(-december->pos())).toImage();
    };
    const QImage sunday = drawn(6);
    QVERIFY(pixelsNear(sunday, Qt::red) > 0);
    QCOMPARE(pixelsNear(sunday, Qt::blue), 0);
    const QImage holiday = drawn(9);
    QVERIFY(pixelsNear(holiday, Qt::blue) > 0);
    QCOMPARE(pixelsNear(holiday, Qt::red), 0);

    // Today's frame: a yellow line along all four edges; a plain day has none.
    const auto framed = [](const QImage& image, QColor colour) {
        const int w = image.width(), h = image.height();
        for (int x = 0; x < w; ++x)
            if (image.pixelColor(x, 0) != colour || image.pixelColor(x, h - 1) != colour)
                return false;
        for (int y = 0; y < h; ++y)
            if (image.pixelColor(0, y) != colour || image.pixelColor(w - 1, y) != colour)
                return false;
        return true;
    };
    const QImage today = drawn(16);
    QVERIFY(framed(today, Qt::yellow));
    int thickness = 0;
    while (thickness < today.width() &&
           today.pixelColor(thickness, today.height() / 2) == QColor(Qt::yellow))
        ++thickness;
    QCOMPARE(thickness, frame);
    const QImage plain = drawn(10);
    QVERIFY(pixelsNear(plain, Qt::black) > 0);
    QVERIFY(!framed(plain, Qt::black));
}

QTEST_MAIN(MonthFill)
#include "tst_monthfill.moc"
