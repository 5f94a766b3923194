// The clock label: its text in the locale's time format and its ticking in
// step with the wall clock.

#include "app/CalendarWindow.h"
#include "extras/ClockDisplay.h"
#include "support/TestServices.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

using navcal::extras::ClockDisplay;
using navcal::extras::clockFormat;
using navcal::extras::clockText;
using navcal::test::ManualClock;

class TestClock : public QObject {
    Q_OBJECT
  private slots:
    void textFollowsTheLocale_data();
    void textFollowsTheLocale();
    void noLocaleShowsAZoneName();
    void ticksNeitherSkipNorRepeatASecond_data();
    void ticksNeitherSkipNorRepeatASecond();
    void earlyTickShowsNothingNew();
};

void TestClock::textFollowsTheLocale_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text");
    const QTime afternoon(14, 5, 33);
    QTest::newRow("ru_RU") << "ru_RU" << afternoon << "14:05:33";
    QTest::newRow("ru_RU morning") << "ru_RU" << QTime(9, 0, 7) << "09:00:07";
    QTest::newRow("en_US 12-hour") << "en_US" << afternoon << "2:05:33 PM";
    QTest::newRow("en_US midnight") << "en_US" << QTime(0, 0, 0) << "12:00:00 AM";
    QTest::newRow("fi_FI dots") << "fi_FI" << afternoon << "14.05.33";
}

void TestClock::textFollowsTheLocale() {
    QFETCH(QString, locale);
    QFETCH(QTime, time);
    QFETCH(QString, text);
    QCOMPARE(clockText(time, QLocale(locale)), text);
}

void TestClock::noLocaleShowsAZoneName() {
    // Whatever the locale writes around its time-zone name, the clock keeps
    // the rest of the long time text and drops the name.
    const QTime time(14, 5, 33);
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    QVERIFY(locales.size() > 100);
    for (const QLocale& locale : locales) {
        const QString text = clockText(time, locale);
        const QString zone = locale.toString(time, QStringLiteral("t"));
        const QString full = locale.toString(time, QLocale::LongFormat);
        const QString where =
            locale.name() + QLatin1Char(' ') + locale.timeFormat(QLocale::LongFormat);
        QVERIFY2(!text.isEmpty() && text == text.trimmed(), qPrintable(where));
        QVERIFY2(full.contains(text), qPrintable(where + QLatin1String(": ") + text));
        QVERIFY2(zone.isEmpty() || !text.contains(zone), qPrintable(where));
        // Seconds are always shown.
        QVERIFY2(clockText(QTime(14, 5, 34), locale) != text, qPrintable(where));
    }
}

void TestClock::ticksNeitherSkipNorRepeatASecond_data() {
    QTest::addColumn<QTime>("start");
    QTest::addColumn<QList<int>>("jitter"); // ms each tick comes later than asked
    QTest::newRow("on time") << QTime(23, 59, 50, 730) << QList<int>{0};
    QTest::newRow("late, varying") << QTime(23, 59, 40, 2) << QList<int>{3, 480, 17, 950, 0, 260};
    QTest::newRow("early within the margin")
        << QTime(23, 59, 18, 999) << QList<int>{-ClockDisplay::kLateMarginMs, 2, -3, 700};
    QTest::newRow("early past the boundary")
        << QTime(23, 59, 30, 500) << QList<int>{-30, 40, -200, 5};
}

void TestClock::ticksNeitherSkipNorRepeatASecond() {
    QFETCH(QTime, start);
    QFETCH(QList<int>, jitter);
    // The timer is driven by hand: the clock is set to the moment the timer
    // would fire, give or take the jitter, and the tick is called.
    ManualClock clock(QDateTime(QDate(2026, 12, 31), start));
    QTimer timer;
    timer.setInterval(1000);
    navcal::design::StoredControl control;
    control.autoSize = true;
    navcal::widgets::TwipLabel label(control, navcal::design::TwipScale{}, nullptr);
    label.setColour(0x00FF00);
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    ClockDisplay display(&label, &timer, clock, ru);
    QSignalSpy ticked(&display, &ClockDisplay::ticked);

    display.start();
    QVERIFY(timer.isActive());
    QVERIFY(timer.isSingleShot());
    QCOMPARE(timer.timerType(), Qt::PreciseTimer);
    QCOMPARE(timer.interval(), 1000);

    QStringList shown;
    for (int i = 0; i < 120; ++i) {
        clock.advanceMs(timer.interval() + jitter.at(i % jitter.size()));
        const int before = int(ticked.size());
        display.tick();
        QVERIFY(timer.isActive());
        if (ticked.size() > before) {
            QCOMPARE(ticked.last().at(0).toDateTime(), clock.now());
            QCOMPARE(label.caption(), clockText(clock.now().time(), ru));
            shown << label.caption();
        }
    }
    // Consecutive seconds from one second after start, across midnight and
    // into the new year.
    const QDateTime first = QDateTime(QDate(2026, 12, 31), start).addSecs(1);
    QVERIFY(shown.size() > 60);
    for (int i = 0; i < shown.size(); ++i) {
        const QDateTime expected = first.addSecs(i);
        QCOMPARE(shown.at(i), clockText(expected.time(), ru));
        QCOMPARE(ticked.at(i).at(0).toDateTime().toSecsSinceEpoch(), expected.toSecsSinceEpoch());
    }
    QCOMPARE(ticked.last().at(0).toDateTime().date(), QDate(2027, 1, 1));
    // The ticks do not touch the label's colour.
    QCOMPARE(label.colour(), navcal::design::Colour(0x00FF00));
}

void TestClock::earlyTickShowsNothingNew() {
    ManualClock clock(QDateTime(QDate(2026, 3, 1), QTime(12, 0, 0, 200)));
    QTimer timer;
    timer.setInterval(1000);
    ClockDisplay display(nullptr, &timer, clock, QLocale(QLocale::Russian, QLocale::Russia));
    QSignalSpy ticked(&display, &ClockDisplay::ticked);
    display.tick();
    QCOMPARE(ticked.size(), 1);
    QCOMPARE(timer.interval(), 800 + ClockDisplay::kLateMarginMs);
    // The timer fires before the wall clock reaches the next second.
    clock.set(QDateTime(QDate(2026, 3, 1), QTime(12, 0, 0, 990)));
    display.tick();
    QCOMPARE(ticked.size(), 1);
    QVERIFY(timer.isActive());
    QCOMPARE(timer.interval(), 10 + ClockDisplay::kLateMarginMs);
    clock.set(QDateTime(QDate(2026, 3, 1), QTime(12, 0, 1, 5)));
    display.tick();
    QCOMPARE(ticked.size(), 2);
    // A clock set back by hand is followed, not held up.
    clock.set(QDateTime(QDate(2026, 3, 1), QTime(11, 0, 0, 5)));
    display.tick();
    QCOMPARE(ticked.size(), 3);
}

QTEST_MAIN(TestClock)
#include "tst_clock.moc"
