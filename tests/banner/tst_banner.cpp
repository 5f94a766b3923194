// The banner label on the window: placement, daily text, the click freeze.

#include "app/Form1.h"
#include "banner/Banner.h"
#include "support/TestServices.h"

#include <QtTest>

using navcal::layout::Colour;
using navcal::layout::TwipLabel;
using navcal::test::TestWindow;

class TestBanner : public QObject {
    Q_OBJECT
  private slots:
    void tickShowsTodayCentredOnItsText_data();
    void tickShowsTodayCentredOnItsText();
    void runPastMidnightShowsTheNewDay_data();
    void runPastMidnightShowsTheNewDay();
    void clickFreezesTheBanner();
    void timerDrivesTheTick();
    void followsTheScreenWhileRunning();
};

namespace {

TwipLabel* bannerLabel(navcal::app::Form1& form) {
    return form.controls().label(QStringLiteral("Label113"));
}

// Centred on the window (to the pixel that rounding twips costs), on the
// line of July's Tuesday.
void expectCentred(navcal::app::Form1& form) {
    const QRect banner = bannerLabel(form)->geometry();
    QVERIFY2(qAbs(banner.x() + banner.width() / 2.0 - form.width() / 2.0) <= 1,
             qPrintable(QStringLiteral("%1 wide at %2").arg(banner.width()).arg(banner.x())));
    QCOMPARE(banner.top(), form.controls().panelLabel(QStringLiteral("Label59"))->geometry().y());
}

} // namespace

void TestBanner::tickShowsTodayCentredOnItsText_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Colour>("colour");
    QTest::newRow("1 January, stored dark red")
        << QDate(2026, 1, 1) << QSize(1024, 768) << QStringLiteral("День тельняшки!")
        << Colour(0x800000);
    QTest::newRow("27 January, blue")
        << QDate(2026, 1, 27) << QSize(1920, 1080)
        << QStringLiteral("День снятия блокады Ленинграда!") << Colour(0x0000FF);
    QTest::newRow("10 July on a Sunday, three lines")
        << QDate(2022, 7, 10) << QSize(1280, 1024)
        << QStringLiteral("День рыбака!\r\nДень победы русской армии над шведами\r\n"
                          "в Полтавском сражении  !")
        << Colour(0xFF0000);
    QTest::newRow("plain day") << QDate(2026, 2, 24) << QSize(800, 600) << QString()
                               << Colour(0x800000);
}

void TestBanner::tickShowsTodayCentredOnItsText() {
    QFETCH(QDate, today);
    QFETCH(QSize, screen);
    QFETCH(QString, text);
    QFETCH(Colour, colour);
    TestWindow w(today, screen);
    auto& form = w.loaded();
    const float emptyWidth = bannerLabel(form)->twipWidth();
    const float emptyHeight = bannerLabel(form)->twipHeight();
    form.banner().tick();
    QCOMPARE(form.today().date(), today);
    QCOMPARE(bannerLabel(form)->caption(), text);
    QCOMPARE(bannerLabel(form)->foreColor(), colour);
    // Centred on the text of this very tick, not on the empty caption's width.
    if (!text.isEmpty())
        QVERIFY(bannerLabel(form)->twipWidth() > emptyWidth * 4);
    expectCentred(form);
    // A multi-line text stands one line per CR LF.
    const int lines = int(text.count(QStringLiteral("\r\n"))) + 1;
    const float tpp = float(bannerLabel(form)->twipsPerPixel());
    QVERIFY(qAbs(bannerLabel(form)->twipHeight() - lines * emptyHeight) <= lines * tpp);
}

void TestBanner::runPastMidnightShowsTheNewDay_data() {
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("next");
    QTest::addColumn<QString>("nextText");
    QTest::addColumn<Colour>("nextColour");
    QTest::newRow("9 May into 10 May: cleared")
        << QDate(2026, 5, 9) << QDate(2026, 5, 10) << QString() << Colour(0x800000);
    QTest::newRow("blue day, then an entry without colour: stored colour")
        << QDate(2026, 1, 27) << QDate(2026, 2, 23) << QStringLiteral("День защитника Отечества!")
        << Colour(0x800000);
    QTest::newRow("6 July into 7 July (Tuesday): blue")
        << QDate(2026, 7, 6) << QDate(2026, 7, 7)
        << QStringLiteral("День победы русского флота\r\nнад турецким флотом в бухте Чесма !")
        << Colour(0x0000FF);
    QTest::newRow("6 July into 7 July (Sunday): red")
        << QDate(2024, 7, 6) << QDate(2024, 7, 7)
        << QStringLiteral("День морского и речного флота!\r\n"
                          "День победы русского флота над турецким флотом в бухте Чесма !")
        << Colour(0xFF0000);
}

void TestBanner::runPastMidnightShowsTheNewDay() {
    QFETCH(QDate, first);
    QFETCH(QDate, next);
    QFETCH(QString, nextText);
    QFETCH(Colour, nextColour);
    TestWindow w(first);
    auto& form = w.loaded();
    form.banner().tick();
    const QString firstText = bannerLabel(form)->caption();
    w.clock.set(QDateTime(first, QTime(23, 59, 59)));
    form.banner().tick();
    QCOMPARE(bannerLabel(form)->caption(), firstText);
    w.clock.set(QDateTime(next, QTime(0, 0, 1)));
    form.banner().tick();
    QCOMPARE(form.today().date(), next);
    QCOMPARE(bannerLabel(form)->caption(), nextText);
    QCOMPARE(bannerLabel(form)->foreColor(), nextColour);
    expectCentred(form);
}

void TestBanner::clickFreezesTheBanner() {
    TestWindow w(QDate(2026, 5, 9));
    auto& form = w.loaded();
    form.startTimers();
    QTimer* timer14 = form.controls().timer(QStringLiteral("Timer14"));
    QVERIFY(timer14->isActive());
    form.banner().tick();
    TwipLabel* label = bannerLabel(form);
    const float left = label->left();

    w.random.script({0.5}); // palette entry 8, grey
    QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(label->foreColor(), Colour(0x808080));
    QVERIFY(!timer14->isActive());
    QVERIFY(form.banner().isFrozen());

    // Across midnight a stray tick changes nothing.
    w.clock.set(QDateTime(QDate(2026, 5, 10), QTime(0, 0, 1)));
    form.banner().tick();
    QCOMPARE(label->caption(), QStringLiteral("День Победы!"));
    QCOMPARE(label->foreColor(), Colour(0x808080));
    QCOMPARE(label->left(), left);

    // Later clicks only recolour.
    w.random.script({0.99});
    QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(label->foreColor(), Colour(0xFFFFFF));
    QVERIFY(!timer14->isActive());
    QCOMPARE(label->caption(), QStringLiteral("День Победы!"));
}

void TestBanner::timerDrivesTheTick() {
    TestWindow w(QDate(2026, 2, 23));
    auto& form = w.loaded();
    QVERIFY(bannerLabel(form)->caption().isEmpty());
    form.controls().timer(QStringLiteral("Timer14"))->start();
    QTRY_COMPARE_WITH_TIMEOUT(bannerLabel(form)->caption(),
                              QStringLiteral("День защитника Отечества!"), 4000);
    expectCentred(form);
}

// The screen changes shape under a running banner (a new resolution, another
// monitor): the banner stays centred, and so does the next day's text.
void TestBanner::followsTheScreenWhileRunning() {
    TestWindow w(QDate(2026, 1, 27), QSize(1920, 1080));
    auto& form = w.loaded();
    form.banner().tick();
    for (const QRect& screen : {QRect(0, 0, 1280, 1024), QRect(0, 0, 800, 600)}) {
        form.fitToScreen(screen);
        QCOMPARE(form.geometry(), screen);
        expectCentred(form);
    }
    w.clock.set(QDateTime(QDate(2026, 1, 28), QTime(0, 0, 1)));
    form.banner().tick();
    QVERIFY(bannerLabel(form)->caption().isEmpty());
    expectCentred(form);
}

QTEST_MAIN(TestBanner)
#include "tst_banner.moc"
