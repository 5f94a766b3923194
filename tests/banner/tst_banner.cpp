// The banner label on the window: placement, the daily tick, the click freeze.

#include "app/CalendarWindow.h"
#include "banner/Banner.h"
#include "extras/ClockDisplay.h"
#include "support/TestServices.h"

#include <QtTest>

using navcal::design::Colour;
using navcal::test::TestWindow;
using navcal::widgets::TwipLabel;

class TestBanner : public QObject {
    Q_OBJECT
  private slots:
    void tickShowsTodayCentredOnItsText_data();
    void tickShowsTodayCentredOnItsText();
    void runPastMidnightShowsTheNewDay_data();
    void runPastMidnightShowsTheNewDay();
    void clickFreezesTheBanner();
    void heartbeatDrivesTheTick();
    void followsTheScreenWhileRunning();
};

namespace {

// Banners as the holiday table writes them.
constexpr Colour kDarkRed = 0x800000; // the banner's stored colour
constexpr Colour kRed = 0xFF0000;
constexpr Colour kBlue = 0x0000FF;
const QString kLeningrad = QStringLiteral("День снятия блокады Ленинграда!");
const QString kDefender = QStringLiteral("День защитника Отечества!");

// Sets the clock of a running saver to `time` and waits for the beat that
// shows it: the beat checks the day and the banner after the clock.
void beatAt(TestWindow& w, const QDateTime& time) {
    w.clock.set(time);
    const QString shown = navcal::extras::clockText(time.time(), w.services.locale);
    QTRY_COMPARE_WITH_TIMEOUT(w.saver->window().controls().roles().clock->caption(), shown, 10000);
}

TwipLabel* bannerLabel(navcal::app::CalendarWindow& form) {
    return form.controls().roles().banner;
}

// Centred on the window (to the pixel that rounding twips costs), on the
// line of July's Monday.
void expectCentred(navcal::app::CalendarWindow& form) {
    const QRect banner = bannerLabel(form)->geometry();
    QVERIFY2(qAbs(banner.x() + banner.width() / 2.0 - form.width() / 2.0) <= 1,
             qPrintable(QStringLiteral("%1 wide at %2").arg(banner.width()).arg(banner.x())));
    QCOMPARE(banner.top(), form.controls().roles().month(7)->partPixels(1).y());
}

} // namespace

// The window shows the day's banner, centred on it, one line per CR LF.
void TestBanner::tickShowsTodayCentredOnItsText_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Colour>("colour");
    QTest::addColumn<int>("lines");
    QTest::newRow("one line, 1920x1080")
        << QDate(2026, 1, 27) << QSize(1920, 1080) << kLeningrad << kBlue << 1;
    QTest::newRow("three lines on a Sunday, 1280x1024")
        << QDate(2022, 7, 10) << QSize(1280, 1024)
        << QStringLiteral("День рыбака!\r\nДень победы русской армии над шведами\r\n"
                          "в Полтавском сражении  !")
        << kRed << 3;
    QTest::newRow("plain day, 800x600")
        << QDate(2026, 2, 24) << QSize(800, 600) << QString() << kDarkRed << 1;
}

void TestBanner::tickShowsTodayCentredOnItsText() {
    QFETCH(QDate, today);
    QFETCH(QSize, screen);
    QFETCH(QString, text);
    QFETCH(Colour, colour);
    QFETCH(int, lines);
    TestWindow w(today, screen);
    auto& form = w.loaded();
    const float emptyWidth = bannerLabel(form)->twipWidth();
    const float emptyHeight = bannerLabel(form)->twipHeight();
    w.saver->banner().tick();
    QCOMPARE(bannerLabel(form)->caption(), text);
    QCOMPARE(bannerLabel(form)->colour(), colour);
    // Centred on the text of this very tick, not on the empty caption's width.
    if (!text.isEmpty())
        QVERIFY(bannerLabel(form)->twipWidth() > emptyWidth * 4);
    expectCentred(form);
    const float tpp = float(bannerLabel(form)->twipsPerPixel());
    QVERIFY(qAbs(bannerLabel(form)->twipHeight() - lines * emptyHeight) <= lines * tpp);
}

void TestBanner::runPastMidnightShowsTheNewDay_data() {
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("next");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Colour>("colour");
    QTest::newRow("9 May into 10 May: cleared")
        << QDate(2026, 5, 9) << QDate(2026, 5, 10) << QString() << kDarkRed;
    QTest::newRow("a blue day into a day of the stored colour")
        << QDate(2026, 1, 27) << QDate(2026, 2, 23) << kDefender << kDarkRed;
}

void TestBanner::runPastMidnightShowsTheNewDay() {
    QFETCH(QDate, first);
    QFETCH(QDate, next);
    QFETCH(QString, text);
    QFETCH(Colour, colour);
    TestWindow w(first);
    auto& form = w.loaded();
    w.saver->startHeartbeat();
    beatAt(w, QDateTime(first, QTime(12, 0, 0)));
    const QString firstText = bannerLabel(form)->caption();
    beatAt(w, QDateTime(first, QTime(23, 59, 59)));
    QCOMPARE(bannerLabel(form)->caption(), firstText);
    beatAt(w, QDateTime(next, QTime(0, 0, 1)));
    QCOMPARE(bannerLabel(form)->caption(), text);
    QCOMPARE(bannerLabel(form)->colour(), colour);
    expectCentred(form);
}

// The click's colour is checked with the other recolourable lines'.
void TestBanner::clickFreezesTheBanner() {
    TestWindow w(QDate(2026, 5, 9));
    auto& form = w.loaded();
    w.saver->startHeartbeat();
    beatAt(w, QDateTime(QDate(2026, 5, 9), QTime(12, 0, 0)));
    TwipLabel* label = bannerLabel(form);
    const float left = label->left();
    const QString text = label->caption();

    w.random.script({0.5}); // grey, unlike any banner of the table
    QTest::mouseClick(label, Qt::LeftButton);
    const Colour clicked = label->colour();

    // Across midnight the beats change nothing.
    beatAt(w, QDateTime(QDate(2026, 5, 10), QTime(0, 0, 1)));
    QCOMPARE(label->caption(), text);
    QCOMPARE(label->colour(), clicked);
    QCOMPARE(label->left(), left);

    // Later clicks only recolour.
    QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(label->caption(), text);
}

void TestBanner::heartbeatDrivesTheTick() {
    TestWindow w(QDate(2026, 2, 23));
    auto& form = w.loaded();
    QVERIFY(bannerLabel(form)->caption().isEmpty());
    w.saver->startHeartbeat();
    QTRY_COMPARE_WITH_TIMEOUT(bannerLabel(form)->caption(), kDefender, 4000);
    expectCentred(form);
}

// The screen changes shape under a running banner (a new resolution, another
// monitor): the banner stays centred, and so does the next day's text.
void TestBanner::followsTheScreenWhileRunning() {
    TestWindow w(QDate(2026, 1, 27), QSize(1920, 1080));
    auto& form = w.loaded();
    w.saver->banner().tick();
    for (const QRect& screen : {QRect(0, 0, 1280, 1024), QRect(0, 0, 800, 600)}) {
        form.fitToScreen(screen);
        QCOMPARE(form.geometry(), screen);
        expectCentred(form);
    }
    w.saver->startHeartbeat();
    beatAt(w, QDateTime(QDate(2026, 1, 28), QTime(0, 0, 1)));
    QVERIFY(bannerLabel(form)->caption().isEmpty());
    expectCentred(form);
}

QTEST_MAIN(TestBanner)
#include "tst_banner.moc"
