// Clicks on a month title and on the weekday-header picture, after the fill
// and during it.

#include "panels/PanelTestKit.h"
#include "support/TestServices.h"

#include <QtTest>

using namespace navcal;
using namespace navcal::test;

namespace {
// Every label's colour by its stored name.
QHash<QString, design::Colour> coloursOf(app::CalendarWindow& form) {
    QHash<QString, design::Colour> colours;
    for (const widgets::TwipLabel* label : form.controls().allLabels())
        colours.insert(label->objectName(), label->colour());
    for (const panels::MonthView* view : form.controls().roles().months)
        for (int part = 0; part < panels::MonthView::kParts; ++part)
            colours.insert(view->stored(part).objectName(), view->look(part).colour);
    return colours;
}

} // namespace

class PanelClicks : public QObject {
    Q_OBJECT
  private slots:
    void titleClick_data();
    void titleClick();
    void clickDuringFill_data();
    void clickDuringFill();
    void headerClick_data();
    void headerClick();
};

void PanelClicks::titleClick_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("month");
    QTest::addColumn<QList<double>>("draws"); // one click each
    QTest::addColumn<QRgb>("drawn");          // the palette's colour for the last
    QTest::addColumn<QList<int>>("redDays");
    QTest::addColumn<QList<int>>("blueDays");
    QTest::addColumn<int>("tipDay");
    QTest::addColumn<QString>("tip");

    // Red: the Saturdays and Sundays, and the days marked red; blue: those
    // marked blue on a weekday.
    const QDate december(2026, 12, 7);
    QTest::newRow("February, 23rd with its tooltip")
        << december << 2 << QList<double>{0.5} << grey
        << QList<int>{1, 7, 8, 14, 15, 21, 22, 23, 28} << QList<int>{} << 23
        << "День защитника Отечества";
    // A second click draws again: the first one's colour is gone.
    QTest::newRow("January, 10th on a Saturday, clicked twice")
        << december << 1 << QList<double>{0.15, 0.5} << grey
        << QList<int>{1, 3, 4, 7, 10, 11, 17, 18, 24, 25, 31} << QList<int>{15} << 0 << "";
    QTest::newRow("April, nothing marked")
        << december << 4 << QList<double>{0.15} << green << QList<int>{4, 5, 11, 12, 18, 19, 25, 26}
        << QList<int>{} << 0 << "";
    QTest::newRow("May, 28th left in the random colour")
        << december << 5 << QList<double>{0.15} << green
        << QList<int>{1, 2, 3, 9, 10, 16, 17, 23, 24, 30, 31} << QList<int>{5, 7, 13, 18, 21} << 0
        << "";
    QTest::newRow("July 2018, Sundays left to the weekend rows")
        << QDate(2018, 12, 7) << 7 << QList<double>{0.15} << green
        << QList<int>{1, 7, 8, 14, 15, 21, 22, 28, 29} << QList<int>{17} << 17
        << "День авиации ВМФ";
    QTest::newRow("October, 20th left in the random colour")
        << december << 10 << QList<double>{0.15} << green
        << QList<int>{3, 4, 10, 11, 17, 18, 24, 25, 31} << QList<int>{8, 30} << 0 << "";
    // Today, the 16th, takes the random colour; its frame stays.
    QTest::newRow("December with today the 16th")
        << QDate(2026, 12, 16) << 12 << QList<double>{0.15} << green
        << QList<int>{5, 6, 12, 13, 19, 20, 26, 27} << QList<int>{9} << 0 << "";
}

void PanelClicks::titleClick() {
    QFETCH(QDate, today);
    QFETCH(int, month);
    QFETCH(QList<double>, draws);
    QFETCH(QRgb, drawn);
    QFETCH(QList<int>, redDays);
    QFETCH(QList<int>, blueDays);
    QFETCH(int, tipDay);
    QFETCH(QString, tip);

    TestWindow w(today);
    auto& form = w.loaded();
    runAllFills(*w.saver);
    const QVector<Look> filled = panelLook(form, month);
    const auto before = coloursOf(form);

    w.random.script(std::vector<double>(draws.begin(), draws.end()));
    for (qsizetype i = 0; i < draws.size(); ++i)
        clickTitle(form, month);
    panels::MonthView& view = monthView(form, month);
    QCOMPARE(partLook(view, view.grab().toImage(), 0).ink, drawn);

    const QVector<Look> clicked = panelLook(form, month);
    for (int i = 0; i < calendar::kMonthCells; ++i) {
        const Look& cell = clicked[i];
        // Captions, frames and the fill's tooltips stay.
        QCOMPARE(cell.caption, filled[i].caption);
        QCOMPARE(cell.framed, filled[i].framed);
        if (cell.caption.isEmpty())
            continue;
        const int day = cell.caption.toInt();
        const QRgb expected = redDays.contains(day) ? red : blueDays.contains(day) ? blue : drawn;
        QVERIFY2(cell.ink == expected, qPrintable(cell.caption));
        QCOMPARE(cell.tip, day == tipDay ? tip : filled[i].tip);
    }
    // Nothing outside the month's title and cells changes colour.
    auto after = coloursOf(form);
    for (int part = 0; part < panels::MonthView::kParts; ++part)
        if (part == 0 || part >= panels::MonthView::kFirstCell)
            after.insert(view.stored(part).objectName(),
                         before.value(view.stored(part).objectName()));
    QCOMPARE(after, before);
}

void PanelClicks::clickDuringFill_data() {
    QTest::addColumn<bool>("finished"); // the fill run to its end after the click
    QTest::addColumn<int>("cell");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRgb>("ink");
    QTest::addColumn<bool>("framed");
    // January 2026, today Saturday the 10th, clicked green after ten ticks:
    // cells 0..10 show days up to the 8th, the rest their stored numbers. A
    // cell takes the mark of the day it shows when clicked; the fill then
    // gives a day with a colour of its own that colour.
    QTest::newRow("a red holiday shown") << false << 3 << "1" << red << false;
    QTest::newRow("stored 15, a blue holiday") << false << 14 << "15" << blue << false;
    QTest::newRow("then: the 9th stays green") << true << 11 << "9" << green << false;
    QTest::newRow("then: today red and framed") << true << 12 << "10" << red << true;
    QTest::newRow("then: the 12th keeps stored 15's blue") << true << 14 << "12" << blue << false;
    QTest::newRow("then: the 15th its own blue") << true << 17 << "15" << blue << false;
    QTest::newRow("then: the 22nd keeps stored 25's blue") << true << 24 << "22" << blue << false;
    QTest::newRow("then: Sunday the 25th red") << true << 27 << "25" << red << false;
}

void PanelClicks::clickDuringFill() {
    QFETCH(bool, finished);
    QFETCH(int, cell);
    QFETCH(QString, caption);
    QFETCH(QRgb, ink);
    QFETCH(bool, framed);
    TestWindow w(QDate(2026, 1, 10));
    auto& form = w.loaded();
    runFill(*w.saver, 10);
    w.random.script({0.15});
    clickTitle(form, 1);
    // The fill goes on from where it was.
    if (finished)
        QCOMPARE(runFill(*w.saver), 26);
    const Look shown = panelLook(form, 1).at(cell);
    QCOMPARE(shown.caption, caption);
    QCOMPARE(shown.ink, ink);
    QCOMPARE(shown.framed, framed);
}

void PanelClicks::headerClick_data() {
    QTest::addColumn<double>("random");
    QTest::addColumn<design::Colour>("drawn");
    QTest::newRow("black, index 0") << 0.0 << design::Colour(0x000000);
    QTest::newRow("bright white, index 15") << 0.999 << design::Colour(0xFFFFFF);
}

void PanelClicks::headerClick() {
    QFETCH(double, random);
    QFETCH(design::Colour, drawn);
    TestWindow w(QDate(2026, 12, 16));
    auto& form = w.loaded();
    runAllFills(*w.saver);
    w.random.script({0.15});
    clickTitle(form, 3); // titles and cells in a colour of their own
    const auto before = coloursOf(form);

    // Later draws would give another colour: the click draws once for all twelve panels.
    w.random.script({random, random < 0.5 ? 0.9 : 0.1});
    QTest::mouseClick(form.controls().roles().flag, Qt::LeftButton, {}, QPoint(2, 2));

    auto expected = before;
    for (const design::MonthLayout& m : design::monthLayouts())
        for (const QString& header : m.headers)
            expected.insert(header, drawn);
    QCOMPARE(expected.size(), before.size());
    QCOMPARE(coloursOf(form), expected);
}

QTEST_MAIN(PanelClicks)
#include "tst_panelclicks.moc"
