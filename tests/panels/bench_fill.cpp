// How long the twelve month fills take: the time from showing the window
// until every month is filled. A benchmark,
// not a test with a time limit: it reports, the reader judges (goal: 100 ms).

#include "panels/PanelTestKit.h"
#include "support/TestServices.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace navcal;
using namespace navcal::test;

namespace {
// Lets the heartbeat beat until the fills are done; the elapsed
// milliseconds, or -1 when they are still running after five seconds.
qint64 waitForFills(const TestWindow& w, const QElapsedTimer& since) {
    while (!filled(w)) {
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
    void fillAfterShow();
};

void BenchFill::fillAfterShow() {
    TestWindow w(QDate(2026, 2, 23));
    w.make();
    QElapsedTimer shown;
    shown.start();
    w.saver->runFullScreen();
    const qint64 first = waitForFills(w, shown);
    QVERIFY2(first >= 0, "the fills did not stop");
    qInfo("fill after show: %lld ms", static_cast<long long>(first));
    QTest::setBenchmarkResult(qreal(first), QTest::WalltimeMilliseconds);
}

QTEST_MAIN(BenchFill)
#include "bench_fill.moc"
