// The saver's one clock: each second shown once and none skipped, however
// early or late a beat comes, and every beat's steps in their order.

#include "app/Heartbeat.h"
#include "support/TestServices.h"

#include <QtTest>

using navcal::app::Heartbeat;

// A heartbeat whose clock shows from its start and whose fill takes
// `fills` steps; each beat's steps written down.
struct Beating {
    explicit Beating(const QDateTime& start, int fills = 0) : clock(start), fillsLeft(fills) {
        heart.start();
    }
    QStringList beat() {
        steps.clear();
        heart.beat();
        return steps;
    }

    navcal::test::ManualClock clock;
    int fillsLeft;
    QList<QDateTime> seconds;
    QStringList steps;
    Heartbeat heart{clock,
                    {[this](const QDateTime& now) { seconds << now, steps << "second"; },
                     [this](const QDate&) { steps << "day"; }, [this] { return fillsLeft > 0; },
                     [this] { steps << "fill", --fillsLeft; }, [this] { steps << "banner"; }},
                    1,
                    0};
};

class TestHeartbeat : public QObject {
    Q_OBJECT
  private slots:
    void secondsNeitherSkipNorRepeat_data();
    void secondsNeitherSkipNorRepeat();
    void earlyBeatShowsNothingNew();
};

void TestHeartbeat::secondsNeitherSkipNorRepeat_data() {
    QTest::addColumn<QTime>("start");
    QTest::addColumn<QList<int>>("jitter"); // ms each beat comes later than asked
    QTest::newRow("on time") << QTime(23, 59, 50, 730) << QList<int>{0};
    QTest::newRow("late, varying") << QTime(23, 59, 40, 2) << QList<int>{3, 480, 17, 950, 0, 260};
    QTest::newRow("early within the margin")
        << QTime(23, 59, 18, 999) << QList<int>{-Heartbeat::kLateMarginMs, 2, -3, 700};
    QTest::newRow("early past the boundary")
        << QTime(23, 59, 30, 500) << QList<int>{-30, 40, -200, 5};
}

void TestHeartbeat::secondsNeitherSkipNorRepeat() {
    QFETCH(QTime, start);
    QFETCH(QList<int>, jitter);
    // Each beat by hand, the clock set to when the timer would fire, give or
    // take the jitter: the first a second after the start.
    Beating b(QDateTime(QDate(2026, 12, 31), start));
    for (int i = 0; i < 120; ++i) {
        const int asked = i ? Heartbeat::nextSecondMs(b.clock.now().time()) : 1000;
        b.clock.advanceMs(asked + jitter.at(i % jitter.size()));
        b.beat();
    }
    // Consecutive seconds from then, across midnight into the new year.
    const QDateTime first = QDateTime(QDate(2026, 12, 31), start).addSecs(1);
    QVERIFY(b.seconds.size() > 60);
    for (int i = 0; i < b.seconds.size(); ++i)
        QCOMPARE(b.seconds.at(i).toSecsSinceEpoch(), first.addSecs(i).toSecsSinceEpoch());
}

void TestHeartbeat::earlyBeatShowsNothingNew() {
    Beating b(QDateTime(QDate(2026, 3, 1), QTime(12, 0, 0, 200)), 2);
    const QStringList all = {"second", "day", "fill", "banner"};
    QCOMPARE(b.beat(), all);
    // Before the wall clock reaches the next second: nothing new to show.
    b.clock.set(QDateTime(QDate(2026, 3, 1), QTime(12, 0, 0, 990)));
    QCOMPARE(b.beat(), (QStringList{"day", "fill", "banner"}));
    // The fill has ended: a beat no longer steps it, until a fill starts over.
    b.clock.set(QDateTime(QDate(2026, 3, 1), QTime(12, 0, 1, 5)));
    QCOMPARE(b.beat(), (QStringList{"second", "day", "banner"}));
    b.fillsLeft = 1;
    b.clock.set(QDateTime(QDate(2026, 3, 1), QTime(11, 0, 0, 5)));
    // A clock set back by hand is followed, not held up.
    QCOMPARE(b.beat(), all);
    QCOMPARE(b.seconds.last(), b.clock.now());
}

QTEST_GUILESS_MAIN(TestHeartbeat)
#include "tst_heartbeat.moc"
