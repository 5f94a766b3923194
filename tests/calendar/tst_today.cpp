// The owner of today's date: it announces every change of date, whichever way
// the clock went, and nothing else.

#include "calendar/Today.h"
#include "support/TestServices.h"

#include <QSignalSpy>
#include <QtTest>

using navcal::calendar::Today;
using navcal::test::ManualClock;

class TestToday : public QObject {
    Q_OBJECT
  private slots:
    void announcesChanges_data();
    void announcesChanges();
    void startUpTellsNoOne();
};

void TestToday::announcesChanges_data() {
    QTest::addColumn<QDateTime>("from");
    QTest::addColumn<QDateTime>("to");
    QTest::addColumn<bool>("announced");
    const QDate day(2026, 5, 9);
    QTest::newRow("same day") << QDateTime(day, QTime(0, 0)) << QDateTime(day, QTime(23, 59, 59))
                              << false;
    QTest::newRow("midnight") << QDateTime(day, QTime(23, 59, 59))
                              << QDateTime(day.addDays(1), QTime(0, 0)) << true;
    QTest::newRow("New Year") << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59))
                              << QDateTime(QDate(2027, 1, 1), QTime(0, 0, 1)) << true;
    QTest::newRow("clock set back")
        << QDateTime(day, QTime(0, 0, 5)) << QDateTime(day.addDays(-1), QTime(23, 59)) << true;
}

void TestToday::announcesChanges() {
    QFETCH(QDateTime, from);
    QFETCH(QDateTime, to);
    QFETCH(bool, announced);
    ManualClock clock(from);
    Today today(clock);
    QSignalSpy changed(&today, &Today::dayChanged);
    clock.set(to);
    today.observe(clock.today());
    QCOMPARE(today.date(), to.date());
    QCOMPARE(changed.size(), announced ? 1 : 0);
    if (announced)
        QCOMPARE(changed.at(0).at(0).toDate(), to.date());
    // A reading made elsewhere of the same date is no change.
    today.observe(to.date());
    QCOMPARE(changed.size(), announced ? 1 : 0);
}

void TestToday::startUpTellsNoOne() {
    ManualClock clock(QDateTime(QDate(2026, 5, 9), QTime(12, 0)));
    Today today(clock);
    QSignalSpy changed(&today, &Today::dayChanged);
    clock.setDate(QDate(2026, 5, 10));
    today.reset();
    QCOMPARE(today.date(), QDate(2026, 5, 10));
    QCOMPARE(changed.size(), 0);
}

QTEST_GUILESS_MAIN(TestToday)
#include "tst_today.moc"
