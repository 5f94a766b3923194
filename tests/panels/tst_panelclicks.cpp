// Clicks on a month title and on the weekday-header picture, after the fill.

#include "panels/PanelTestKit.h"
#include "support/TestServices.h"

#include <QSet>
#include <QtTest>

using namespace navcal;
using namespace navcal::test;

namespace {
constexpr layout::Colour red = 0xFF0000;
constexpr layout::Colour blue = 0x0000FF;
constexpr layout::Colour green = 0x008000; // palette entry 2
constexpr layout::Colour grey = 0x808080;  // palette entry 8

QHash<QString, layout::Colour> coloursOf(app::CalendarWindow& form) {
    QHash<QString, layout::Colour> colours;
    for (const layout::TwipLabel* label : form.controls().allLabels())
        colours.insert(label->objectName(), label->colour());
    for (const layout::MonthView* view : form.controls().monthViews())
        for (const layout::PanelLabel& label : view->parts())
            colours.insert(label.objectName(), label.foreColor());
    return colours;
}

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(2, 2));
}
} // namespace

class PanelClicks : public QObject {
    Q_OBJECT
  private slots:
    void titleClick_data();
    void titleClick();
    void secondClickDrawsAgain();
    void clickDuringFill();
    void headerClick_data();
    void headerClick();
};

void PanelClicks::titleClick_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("month");
    QTest::addColumn<double>("random");
    QTest::addColumn<layout::Colour>("drawn"); // the palette's colour for `random`
    QTest::addColumn<QList<int>>("redDays");
    QTest::addColumn<QList<int>>("blueDays");
    QTest::addColumn<int>("tipDay");
    QTest::addColumn<QString>("tip");

    const QDate december(2026, 12, 7);
    QTest::newRow("January, 10th on a Saturday")
        << december << 1 << 0.15 << green << QList<int>{1, 7} << QList<int>{10, 15, 25} << 0 << "";
    QTest::newRow("February, 23rd with its tooltip")
        << december << 2 << 0.5 << grey << QList<int>{23} << QList<int>{} << 23
        << "День защитника Отечества";
    QTest::newRow("April, nothing marked")
        << december << 4 << 0.15 << green << QList<int>{} << QList<int>{} << 0 << "";
    QTest::newRow("May, 28th left in the random colour")
        << december << 5 << 0.15 << green << QList<int>{1, 9} << QList<int>{5, 7, 13, 18, 21} << 0
        << "";
    QTest::newRow("July 2018, Sundays left to the weekend rows")
        << QDate(2018, 12, 7) << 7 << 0.15 << green << QList<int>{} << QList<int>{17} << 17
        << "День авиации ВМФ";
    QTest::newRow("October, 20th left in the random colour")
        << december << 10 << 0.15 << green << QList<int>{} << QList<int>{8, 30} << 0 << "";
}

void PanelClicks::titleClick() {
    QFETCH(QDate, today);
    QFETCH(int, month);
    QFETCH(double, random);
    QFETCH(layout::Colour, drawn);
    QFETCH(QList<int>, redDays);
    QFETCH(QList<int>, blueDays);
    QFETCH(int, tipDay);
    QFETCH(QString, tip);

    TestWindow w(today);
    auto& form = w.loaded();
    runAllFills(*w.saver);
    const QVector<Look> filled = panelLook(form, month);
    const auto before = coloursOf(form);

    w.random.script({random});
    clickTitle(form, month);
    QCOMPARE(form.controls().roles().month(month).title->foreColor(), drawn);

    QSet<QString> changed{monthDesign(month).title};
    for (int i = 0; i < layout::kCellsPerMonth; ++i) {
        const layout::PanelLabel* cell = dayCell(form, month, i);
        changed.insert(cell->objectName());
        const int day = cell->caption().isEmpty() ? 0 : cell->caption().toInt();
        layout::Colour expected = drawn;
        if (isWeekendCell(i) || redDays.contains(day))
            expected = red;
        else if (blueDays.contains(day))
            expected = blue;
        QVERIFY2(cell->foreColor() == expected,
                 qPrintable(QStringLiteral("cell %1 ('%2'): %3 instead of %4")
                                .arg(i)
                                .arg(cell->caption())
                                .arg(cell->foreColor(), 0, 16)
                                .arg(expected, 0, 16)));
        // Captions, frames and the fill's tooltips stay.
        QCOMPARE(cell->caption(), filled[i].caption);
        QCOMPARE(cell->borderStyle(), filled[i].border);
        QCOMPARE(cell->toolTipText(), tipDay && day == tipDay ? tip : filled[i].tip);
    }
    // Nothing outside the month's title and cells changes colour.
    const auto after = coloursOf(form);
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        if (!changed.contains(it.key()))
            QCOMPARE(after.value(it.key()), it.value());
}

void PanelClicks::secondClickDrawsAgain() {
    TestWindow w(QDate(2026, 12, 7));
    auto& form = w.loaded();
    runAllFills(*w.saver);
    w.random.script({0.15, 0.5});
    clickTitle(form, 1);
    const auto firstLook = panelLook(form, 1);
    clickTitle(form, 1);
    QCOMPARE(form.controls().roles().month(1).title->foreColor(), grey);
    const auto secondLook = panelLook(form, 1);
    for (int i = 0; i < layout::kCellsPerMonth; ++i) {
        // Marked and weekend cells look the same after both clicks; the rest
        // went from the first colour to the second.
        if (firstLook[i].colour == green)
            QCOMPARE(secondLook[i].colour, grey);
        else
            QCOMPARE(secondLook[i], firstLook[i]);
    }
}

void PanelClicks::clickDuringFill() {
    // January 2026 with today 10 January: a click after ten ticks.
    TestWindow w(QDate(2026, 1, 10));
    auto& form = w.loaded();
    TestWindow reference(QDate(2026, 1, 10));
    auto& unclicked = reference.loaded();
    runFill(*reference.saver, 1);

    fillTimer(form, 1)->start();
    for (int tick = 0; tick < 10; ++tick)
        w.saver->panels().fillTick(1);
    w.random.script({0.15});
    clickTitle(form, 1);
    QCOMPARE(w.saver->panels().revealed(1), 10);
    QVERIFY(fillTimer(form, 1)->isActive());
    QVERIFY(runFill(*w.saver, 1) > 0);

    const auto clickedLook = panelLook(form, 1);
    const auto reference1 = panelLook(unclicked, 1);
    for (int i = 0; i < layout::kCellsPerMonth; ++i) {
        QCOMPARE(clickedLook[i].caption, reference1[i].caption);
        QCOMPARE(clickedLook[i].caption, expectedCaption(2026, 1, i));
        QCOMPARE(clickedLook[i].border, reference1[i].border);
        QCOMPARE(clickedLook[i].tip, reference1[i].tip);
        if (isWeekendCell(i))
            QCOMPARE(clickedLook[i].colour, red);
    }
}

void PanelClicks::headerClick_data() {
    QTest::addColumn<double>("random");
    QTest::addColumn<layout::Colour>("drawn");
    QTest::newRow("black, index 0") << 0.0 << layout::Colour(0x000000);
    QTest::newRow("bright white, index 15") << 0.999 << layout::Colour(0xFFFFFF);
}

void PanelClicks::headerClick() {
    QFETCH(double, random);
    QFETCH(layout::Colour, drawn);
    TestWindow w(QDate(2026, 12, 16));
    auto& form = w.loaded();
    runAllFills(*w.saver);
    w.random.script({0.15});
    w.saver->panels().titleClicked(3); // titles and cells in a colour of their own
    const auto before = coloursOf(form);

    // Later draws would give another colour: the click draws once for all twelve panels.
    w.random.script({random, random < 0.5 ? 0.9 : 0.1});
    click(form.controls().roles().flag);

    QSet<QString> headers;
    for (const layout::MonthLayout& m : layout::monthLayouts())
        for (const QString& header : m.headers)
            headers.insert(header);
    QCOMPARE(headers.size(), 84);
    const auto after = coloursOf(form);
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (headers.contains(it.key()))
            QCOMPARE(after.value(it.key()), drawn);
        else
            QCOMPARE(after.value(it.key()), it.value());
    }
}

QTEST_MAIN(PanelClicks)
#include "tst_panelclicks.moc"
