// The calendar on a small and on a large screen: time from start to the
// window's first frame, time until the twelfth panel is filled, and the peak
// memory. Each size runs in a process of its own, so that the peaks do not
// mix. A benchmark, not a test with a time limit: it reports, the reader
// judges (goal: at 3840 x 2160 the first frame no later than 1.5 times and
// the peak memory under 1.5 times those at 1024 x 768).
//
//   app_bench_screens            runs every size and prints a table
//   app_bench_screens WxH        one run, one line: "shown_ms filled_ms peak_kb"

#include "design/Fonts.h"
#include "panels/PanelTestKit.h"
#include "support/TestServices.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <cstdio>
#include <sys/resource.h>

using namespace navcal;

namespace {

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

class PaintWatch : public QObject {
  public:
    bool painted = false;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

int runOne(const QElapsedTimer& start, QSize screen, int argc, char** argv) {
    QApplication application(argc, argv);
    design::installFontSubstitutes();
    test::TestWindow w(QDate(2026, 2, 23), screen);
    app::CalendarWindow& form = w.make();
    PaintWatch watch;
    form.installEventFilter(&watch);
    // Started as the program starts it; the heartbeat runs from the start.
    w.saver->runFullScreen();
    // At the screen measured, not the offscreen platform's own.
    form.showNormal();
    form.setGeometry(form.screenGeometry());
    while (!watch.painted && start.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    // The frame is done once the window and its children have been painted.
    QCoreApplication::processEvents();
    const qint64 shown = start.elapsed();
    auto filling = [&w] { return !test::filled(w); };
    while (filling() && start.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    const qint64 filled = start.elapsed();
    // The filled panels on screen: let the repaints they asked for happen.
    QCoreApplication::processEvents();
    if (!watch.painted || filling())
        return 1;
    std::printf("%lld %lld %ld\n", static_cast<long long>(shown), static_cast<long long>(filled),
                peakKilobytes());
    return 0;
}

int runAll(const QString& self) {
    const QStringList sizes = {QStringLiteral("1024x768"), QStringLiteral("1920x1080"),
                               QStringLiteral("3840x2160")};
    constexpr int rounds = 5;
    std::printf("%-10s %16s %16s %14s  (median of %d runs)\n", "screen", "first frame ms",
                "12 panels ms", "peak MiB", rounds);
    for (const QString& size : sizes) {
        QList<qint64> shown, filled, peak;
        for (int round = 0; round < rounds; ++round) {
            QProcess child;
            child.start(self, {size});
            if (!child.waitForFinished(60000) || child.exitCode() != 0) {
                std::printf("%s: the run failed\n", qPrintable(size));
                return 1;
            }
            const QStringList f = QString::fromLatin1(child.readAllStandardOutput())
                                      .trimmed()
                                      .split(QLatin1Char(' '));
            if (f.size() != 3)
                return 1;
            shown << f[0].toLongLong();
            filled << f[1].toLongLong();
            peak << f[2].toLongLong();
        }
        auto median = [](QList<qint64> v) {
            std::sort(v.begin(), v.end());
            return v.at(v.size() / 2);
        };
        std::printf("%-10s %16lld %16lld %14.1f\n", qPrintable(size),
                    static_cast<long long>(median(shown)), static_cast<long long>(median(filled)),
                    double(median(peak)) / 1024.0);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QElapsedTimer start;
    start.start();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 2) {
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)$"))
                                              .match(QString::fromLatin1(argv[1]));
        if (!m.hasMatch())
            return 2;
        int qtArgc = 1;
        return runOne(start, QSize(m.captured(1).toInt(), m.captured(2).toInt()), qtArgc, argv);
    }
    QCoreApplication application(argc, argv);
    return runAll(QCoreApplication::applicationFilePath());
}
