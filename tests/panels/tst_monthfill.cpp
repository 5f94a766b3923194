// The fill of the month panels, checked in the accessible tree and the drawn
// pixels against calendars written out by hand.

#include "extras/ClockDisplay.h"
#include "panels/PanelTestKit.h"
#include "support/DrawnLabels.h"
#include "support/Files.h"
#include "support/TestServices.h"

#include <QFontMetricsF>
#include <QtMath>
#include <QtTest>

using namespace navcal;
using namespace navcal::test;

namespace {
// Each month's 37 cells, Monday first, as a printed calendar lays them out:
// "." an empty cell, "*" a Saturday or Sunday.
// clang-format off
const QStringList written2024 = {
    "1 2 3 4 5 6* 7* 8 9 10 11 12 13* 14* 15 16 17 18 19 20* 21* 22 23 24 25 26 27* 28* 29 30 31 . . . . . .",
    ". . . 1 2 3* 4* 5 6 7 8 9 10* 11* 12 13 14 15 16 17* 18* 19 20 21 22 23 24* 25* 26 27 28 29 . . . . .",
    ". . . . 1 2* 3* 4 5 6 7 8 9* 10* 11 12 13 14 15 16* 17* 18 19 20 21 22 23* 24* 25 26 27 28 29 30* 31* . .",
    "1 2 3 4 5 6* 7* 8 9 10 11 12 13* 14* 15 16 17 18 19 20* 21* 22 23 24 25 26 27* 28* 29 30 . . . . . . .",
    ". . 1 2 3 4* 5* 6 7 8 9 10 11* 12* 13 14 15 16 17 18* 19* 20 21 22 23 24 25* 26* 27 28 29 30 31 . . . .",
    ". . . . . 1* 2* 3 4 5 6 7 8* 9* 10 11 12 13 14 15* 16* 17 18 19 20 21 22* 23* 24 25 26 27 28 29* 30* . .",
    "1 2 3 4 5 6* 7* 8 9 10 11 12 13* 14* 15 16 17 18 19 20* 21* 22 23 24 25 26 27* 28* 29 30 31 . . . . . .",
    ". . . 1 2 3* 4* 5 6 7 8 9 10* 11* 12 13 14 15 16 17* 18* 19 20 21 22 23 24* 25* 26 27 28 29 30 31* . . .",
    ". . . . . . 1* 2 3 4 5 6 7* 8* 9 10 11 12 13 14* 15* 16 17 18 19 20 21* 22* 23 24 25 26 27 28* 29* 30 .",
    ". 1 2 3 4 5* 6* 7 8 9 10 11 12* 13* 14 15 16 17 18 19* 20* 21 22 23 24 25 26* 27* 28 29 30 31 . . . . .",
    ". . . . 1 2* 3* 4 5 6 7 8 9* 10* 11 12 13 14 15 16* 17* 18 19 20 21 22 23* 24* 25 26 27 28 29 30* . . .",
    ". . . . . . 1* 2 3 4 5 6 7* 8* 9 10 11 12 13 14* 15* 16 17 18 19 20 21* 22* 23 24 25 26 27 28* 29* 30 31",
};
const QStringList written2026 = {
    ". . . 1 2 3* 4* 5 6 7 8 9 10* 11* 12 13 14 15 16 17* 18* 19 20 21 22 23 24* 25* 26 27 28 29 30 31* . . .",
    ". . . . . . 1* 2 3 4 5 6 7* 8* 9 10 11 12 13 14* 15* 16 17 18 19 20 21* 22* 23 24 25 26 27 28* . . .",
    ". . . . . . 1* 2 3 4 5 6 7* 8* 9 10 11 12 13 14* 15* 16 17 18 19 20 21* 22* 23 24 25 26 27 28* 29* 30 31",
    ". . 1 2 3 4* 5* 6 7 8 9 10 11* 12* 13 14 15 16 17 18* 19* 20 21 22 23 24 25* 26* 27 28 29 30 . . . . .",
    ". . . . 1 2* 3* 4 5 6 7 8 9* 10* 11 12 13 14 15 16* 17* 18 19 20 21 22 23* 24* 25 26 27 28 29 30* 31* . .",
    "1 2 3 4 5 6* 7* 8 9 10 11 12 13* 14* 15 16 17 18 19 20* 21* 22 23 24 25 26 27* 28* 29 30 . . . . . . .",
    ". . 1 2 3 4* 5* 6 7 8 9 10 11* 12* 13 14 15 16 17 18* 19* 20 21 22 23 24 25* 26* 27 28 29 30 31 . . . .",
    ". . . . . 1* 2* 3 4 5 6 7 8* 9* 10 11 12 13 14 15* 16* 17 18 19 20 21 22* 23* 24 25 26 27 28 29* 30* 31 .",
    ". 1 2 3 4 5* 6* 7 8 9 10 11 12* 13* 14 15 16 17 18 19* 20* 21 22 23 24 25 26* 27* 28 29 30 . . . . . .",
    ". . . 1 2 3* 4* 5 6 7 8 9 10* 11* 12 13 14 15 16 17* 18* 19 20 21 22 23 24* 25* 26 27 28 29 30 31* . . .",
    ". . . . . . 1* 2 3 4 5 6 7* 8* 9 10 11 12 13 14* 15* 16 17 18 19 20 21* 22* 23 24 25 26 27 28* 29* 30 .",
    ". 1 2 3 4 5* 6* 7 8 9 10 11 12* 13* 14 15 16 17 18 19* 20* 21 22 23 24 25 26* 27* 28 29 30 31 . . . . .",
};
// clang-format on

// Every cell of a filled month against its written line: the caption shown,
// and red ink on the weekend's days.
void compareWithWritten(app::CalendarWindow& form, int month, const QString& written) {
    const QStringList cells = written.split(QLatin1Char(' '));
    QCOMPARE(cells.size(), calendar::kMonthCells);
    const QVector<Look> shown = panelLook(form, month);
    for (int i = 0; i < calendar::kMonthCells; ++i) {
        const QString where = QStringLiteral("month %1 cell %2").arg(month).arg(i);
        QVERIFY2(shown[i].caption == QString(cells[i]).remove('*').remove('.'), qPrintable(where));
        QVERIFY2(!cells[i].endsWith('*') || shown[i].ink == red, qPrintable(where));
    }
}
} // namespace

class MonthFill : public QObject {
    Q_OBJECT
  private slots:
    void wholeYears_data();
    void wholeYears();
    void markedCells_data();
    void markedCells();
    void dateLineFromTheStart_data();
    void dateLineFromTheStart();
    void todaysFrame_data();
    void todaysFrame();
};

void MonthFill::wholeYears_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("written");
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QTest::newRow("2024, leap") << QDate(2024, 1, 1) << russian << written2024;
    QTest::newRow("2026") << QDate(2026, 12, 16) << russian << written2026;
    // A locale whose week begins on Sunday draws the same Monday-first panels.
    QTest::newRow("2026 in a Sunday-first locale")
        << QDate(2026, 3, 10) << QLocale(QLocale::English, QLocale::UnitedStates) << written2026;
}

void MonthFill::wholeYears() {
    QFETCH(QDate, today);
    QFETCH(QLocale, locale);
    QFETCH(QStringList, written);
    TestWindow w(today, QSize(1024, 768), locale);
    auto& form = w.shown();
    QVERIFY2(runAllFills(w), "the fill never stopped");
    for (int month = 1; month <= 12; ++month)
        compareWithWritten(form, month, written[month - 1]);
}

void MonthFill::markedCells_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRgb>("ink");
    QTest::addColumn<bool>("framed");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QByteArray>("lateRows"); // holidays.txt, written the evening before
    QTest::newRow("today 23 February on a Thursday")
        << QDate(2023, 2, 23) << 2 << 24 << "23" << red << true << "День защитника Отечества"
        << QByteArray();
    QTest::newRow("31 March 2026, today, in the last cell")
        << QDate(2026, 3, 31) << 3 << 36 << "31" << yellow << true << "Сегодня 31.03.2026"
        << QByteArray();
    QTest::newRow("29 February 2024 on a Thursday")
        << QDate(2024, 3, 1) << 2 << 31 << "29" << black << false << "" << QByteArray();
    QTest::newRow("9 December 2026, a blue Wednesday")
        << QDate(2026, 12, 16) << 12 << 9 << "9" << blue << false
        << "День Каспийского высшего военно-морского училища" << QByteArray();
    QTest::newRow("a day of the user's, written before midnight, today")
        << QDate(2026, 9, 21) << 9 << 21 << "21" << blue << true << "День нашего экипажа"
        << QByteArray("21.09 | blue | День нашего экипажа\n");
}

void MonthFill::markedCells() {
    QFETCH(QDate, today);
    QFETCH(int, month);
    QFETCH(int, cell);
    QFETCH(QString, caption);
    QFETCH(QRgb, ink);
    QFETCH(bool, framed);
    QFETCH(QString, tip);
    QFETCH(QByteArray, lateRows);
    TestWindow w(lateRows.isEmpty() ? today : today.addDays(-1));
    QTemporaryDir user;
    w.services.userFolder = user.path();
    auto& form = w.shown();
    runAllFills(w);
    if (!lateRows.isEmpty()) {
        // The running saver reads the file again on the new day, then fills.
        QVERIFY(writeFile(user.filePath("holidays.txt"), lateRows));
        w.clock.set(QDateTime(today, QTime(0, 0, 1)));
        QTRY_VERIFY_WITH_TIMEOUT(panelLook(form, month).at(cell).framed, 10000);
        QVERIFY(runAllFills(w));
    }
    QCOMPARE(panelLook(form, month).at(cell), (Look{caption, tip, ink, framed}));
}

void MonthFill::dateLineFromTheStart_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::newRow("day-first digits") << QLocale(QLocale::Russian, QLocale::Russia) << "05.02.2026";
    QTest::newRow("a month's name, wider than the stored line") << QLocale::c() << "5 Feb 2026";
}

// Written with the first frame, before any fill tick, and shown whole about
// the window's centre.
void MonthFill::dateLineFromTheStart() {
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    TestWindow w(QDate(2026, 2, 5), QSize(1024, 768), locale);
    auto& made = w.make();
    auto* dateLine = Parts(made).dateLine;
    const QRect storedGeometry = dateLine->geometry();
    w.shown();
    QCOMPARE(dateLine->text(), text);
    const int inked = qCeil(QFontMetricsF(dateLine->font()).horizontalAdvance(text));
    QVERIFY2(dateLine->width() >= inked, qPrintable(QString::number(inked)));
    // A date that fits keeps the stored look.
    QCOMPARE(dateLine->width() > storedGeometry.width(), inked > storedGeometry.width());
    QVERIFY(qAbs(dateLine->geometry().center().x() - made.width() / 2) <= 1);
}

void MonthFill::todaysFrame_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("frame"); // in pixels: the design's one, scaled
    QTest::addColumn<bool>("clicked");
    QTest::addColumn<QRgb>("ink");
    QTest::newRow("1024x768, the design's size") << QSize(1024, 768) << 1 << false << yellow;
    QTest::newRow("3840x2160, scaled 2.8 times") << QSize(3840, 2160) << 3 << false << yellow;
    // A click on today's month recolours today's day; its frame stays.
    QTest::newRow("after a click on December's title") << QSize(1024, 768) << 1 << true << green;
}

// Today's frame as drawn: a line all round the cell, as thick as the
// calendar is scaled, and the box wider by the frame than the caption alone.
void MonthFill::todaysFrame() {
    QFETCH(QSize, screen);
    QFETCH(int, frame);
    QFETCH(bool, clicked);
    QFETCH(QRgb, ink);
    TestWindow w(QDate(2026, 12, 16), screen);
    auto& form = w.shown();
    runAllFills(w);
    if (clicked) {
        w.random.script({0.15});
        clickTitle(form, 12);
    }
    panels::MonthView& december = *monthView(form, 12);
    const auto drawn = [&](int cell) {
        return december.grab(december.partPixels(8 + cell).translated(-december.pos())).toImage();
    };
    const QImage today = drawn(16);
    QVERIFY(framedAllRound(today));
    QCOMPARE(inkOf(today), ink);
    int thickness = 0;
    while (thickness < today.width() &&
           today.pixel(thickness, today.height() / 2) == (ink | 0xFF000000))
        ++thickness;
    QCOMPARE(thickness, frame);
    // The 17th shows as many digits without a frame: narrower by both sides.
    const QImage plain = drawn(17);
    QVERIFY(!framedAllRound(plain));
    QCOMPARE(today.width() - plain.width(), 2 * frame);
}

QTEST_MAIN(MonthFill)
#include "tst_monthfill.moc"
