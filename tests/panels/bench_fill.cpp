// How long the twelve month fills take: the work of all ticks, and the time
// from showing the window until the fill timer has stopped. A benchmark,
// not a test with a time limit: it reports, the reader judges (goal: 100 ms).

#include "panels/PanelTestKit.h"
#include "support/TestServices.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace navcal;
using namespace navcal::test;

namespace {
// Lets the timers tick until the fills are done; the elapsed milliseconds,
// or -1 when they are still running after five seconds.
qint64 waitForFills(app::CalendarWindow& form, const QElapsedTimer& since) {
    while (fillTimer(form)->isActive()) {
        if (since.elapsed() > 5000)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return since.elapsed();
}
} // namespace

class BenchFill : public QObject {
    Q_OBJECT
  private slots:
    void ticksOfAllPanels();
    void fillAfterShow();
};

void BenchFill::ticksOfAllPanels() {
    TestWindow w(QDate(2026, 2, 23));
    w.loaded();
    int ticks = 0;
    QBENCHMARK {
        w.saver->panels().refill();
        ticks = runFill(*w.saver);
    }
    QCOMPARE(ticks, 36); // 37 cells, the first two with the first tick
}

void BenchFill::fillAfterShow() {
    TestWindow w(QDate(2026, 2, 23));
    auto& form = w.loaded();
    QElapsedTimer shown;
    shown.start();
    form.show();
    w.saver->startTimers();
    const qint64 first = waitForFills(form, shown);
    QVERIFY2(first >= 0, "the fills did not stop");
    qint64 worst = first;
    qInfo("fill after show: %lld ms", static_cast<long long>(first));
    // Later rounds: the refill at a change of date.
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer since;
        since.start();
        w.saver->panels().refill();
        const qint64 ms = waitForFills(form, since);
        QVERIFY2(ms >= 0, "the refill did not stop");
        qInfo("refill: %lld ms", static_cast<long long>(ms));
        worst = std::max(worst, ms);
    }
    // Every panel is really filled.
    for (int month = 1; month <= 12; ++month)
        QCOMPARE(monthView(form, month).revealed(), panels::MonthView::kFillTicks);
    QTest::setBenchmarkResult(qreal(worst), QTest::WalltimeMilliseconds);
}

QTEST_MAIN(BenchFill)
#include "bench_fill.moc"
