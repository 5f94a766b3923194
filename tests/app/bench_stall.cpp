// The longest time the real program's GUI thread stays away from its event
// loop, from its start until the months have filled, with a 30 MB muzz.mp3
// and with a large 1.jpg: a stretch away from the loop is a stretch in which
// no input is answered and no frame of the fill is drawn.
//
// Each run is on a private Xvfb (1920x1080) under strace, which traces only
// the program's polls and file opens (the main thread's time between two
// polls is a stretch); compare_mapwatch tells when the first frame was on
// the screen. Printed per case, the median over the trials of:
//   longest  the longest stretch from the start on (the first frame's included)
//   after    the longest time away from the loop after the first frame was shown
//   frame    ms from the start to the first frame
// and the files the GUI thread itself opened in the longest "after" stretch.
//
//   build/tests/app_bench_stall [NAVCAL_BINARY]   (BENCH_TRIALS, default 3)
// strace's stops add to the waits, not to the stretches; on a busy machine
// the figures still vary from run to run: compare medians of several trials.

#include "support/Files.h"
#include "support/SaverEnvironment.h"
#include "support/Xvfb.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>

namespace {

// MPEG-1 layer III frames of silence (128 kbit/s, 44.1 kHz, 417 bytes each),
// as many as `bytes` hold: a long tune without an encoder.
QByteArray silentMp3(qint64 bytes) {
    QByteArray frame(417, '\0');
    frame[0] = char(0xFF);
    frame[1] = char(0xFB);
    frame[2] = char(0x90);
    return frame.repeated(bytes / frame.size());
}

struct Run {
    double longest = -1, after = -1, frame = -1;
    QStringList opened; // by the GUI thread in the longest stretch after the frame
};

// The traced program's process: the child of strace.
qint64 tracedPid(qint64 strace) {
    QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(strace));
    if (!children.open(QIODevice::ReadOnly))
        return -1;
    return children.readAll().trimmed().split(' ').value(0).toLongLong();
}

// Reads strace's log of the program's main thread: the stretches between a
// poll's return and the next poll's call, and the files opened meanwhile.
Run readLog(const QString& log, qint64 pid, double frameMs, double endedAt) {
    static const QRegularExpression line(
        R"(^(\d+)\s+(\d+\.\d+) (?:<\.\.\. )?(\w+)(.*?)(?: <(\d+\.\d+)>)?$)");
    QFile file(log);
    Run run;
    if (!file.open(QIODevice::ReadOnly))
        return run;
    double start = -1, frame = -1, back = -1; // back: when the last poll returned
    bool loopWait = false;                    // the last poll called was the loop's
    QStringList openedNow, openedAfter;
    double longestAfter = -1;
    auto stretch = [&](double from, double to) {
        if (from > endedAt)
            return; // the program's end, not its run
        run.longest = std::max(run.longest, (to - from) * 1e3);
        const double afterFrame = (to - std::max(from, frame)) * 1e3;
        if (afterFrame > longestAfter) {
            longestAfter = afterFrame;
            openedAfter = openedNow;
        }
    };
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const auto m = line.match(QString::fromUtf8(raw));
        if (!m.hasMatch() || m.captured(1).toLongLong() != pid)
            continue;
        const double at = m.captured(2).toDouble();
        const QString call = m.captured(3), rest = m.captured(4);
        if (call == "execve") {
            start = back = at;
            frame = at + frameMs / 1e3;
        } else if (call == "openat" && !rest.contains("resumed")) {
            static const QRegularExpression name(R"re("([^"]*)")re");
            const QString path = name.match(rest).captured(1);
            // The user's files by name; libraries loaded on the way, counted.
            openedNow << (path.contains(".so") ? QStringLiteral("a library")
                                               : QFileInfo(path).fileName());
        } else if ((call == "poll" || call == "ppoll") && start >= 0) {
            const bool resumed = raw.contains("<... ");
            // The event loop waits on its wake-up and the display at least;
            // a wait on one descriptor is the X library's own, mid-work.
            if (!resumed)
                loopWait = rest.count("fd=") >= 2;
            if (!loopWait)
                continue;
            if (!resumed) {
                stretch(back, at);
                openedNow.clear();
            }
            // A resumed call is logged as it returns; a whole one as it is made.
            if (resumed)
                back = at;
            else if (!rest.contains("<unfinished"))
                back = at + m.captured(5).toDouble();
        }
    }
    run.after = longestAfter;
    const qsizetype libraries = openedAfter.removeAll(QStringLiteral("a library"));
    openedAfter.removeDuplicates();
    run.opened = openedAfter;
    if (libraries)
        run.opened << QStringLiteral("+%1 libraries").arg(libraries);
    return run;
}

Run runOnce(const QString& binary, const QString& mapwatch,
            const std::function<bool(const QString&)>& prepare) {
    QTemporaryDir home;
    const QString folder = home.filePath("data/navcal");
    QDir().mkpath(folder);
    if (!prepare(folder))
        return {};
    const navcal::test::Xvfb xvfb({"-screen", "0", "1920x1080x24"});
    if (xvfb.display.isEmpty())
        return {};
    QProcessEnvironment env = navcal::test::saverEnvironment(home, "xcb");
    env.insert("DISPLAY", xvfb.display);
    const QString log = home.filePath("strace.log"), result = home.filePath("frame");
    QProcess p;
    p.setProcessEnvironment(env);
    p.start("strace",
            {"-f", "--seccomp-bpf", "-qq", "-ttt", "-T", "-e", "trace=execve,poll,ppoll,openat",
             "-o", log, mapwatch, result, "30000", binary, "/s"});
    if (!p.waitForStarted())
        return {};
    // The fill of twelve months takes about a second; the clock's first
    // ticks follow.
    QThread::msleep(7000);
    const qint64 pid = tracedPid(p.processId());
    const double endedAt = QDateTime::currentMSecsSinceEpoch() / 1e3;
    ::kill(pid_t(pid), SIGTERM);
    p.waitForFinished(10000);
    QFile frame(result);
    if (pid <= 0 || !frame.open(QIODevice::ReadOnly))
        return {};
    const double frameMs = frame.readAll().trimmed().split(' ').value(1).toDouble();
    Run run = readLog(log, pid, frameMs, endedAt);
    run.frame = frameMs;
    return run;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString binary = argc > 1 ? QString::fromLocal8Bit(argv[1]) : NAVCAL_BINARY;
    // Built with the program, beside it.
    const QString mapwatch =
        QFileInfo(NAVCAL_BINARY).dir().filePath("tools/compare/compare_mapwatch");
    const int trials = qEnvironmentVariableIntValue("BENCH_TRIALS") > 0
                           ? qEnvironmentVariableIntValue("BENCH_TRIALS")
                           : 3;
    struct Case {
        const char* name;
        std::function<bool(const QString& folder)> prepare;
    };
    const std::vector<Case> cases = {
        {"stored seascape, no music", [](const QString&) { return true; }},
        {"30 MB muzz.mp3",
         [](const QString& folder) {
             return navcal::test::writeFile(folder + "/muzz.mp3", silentMp3(30'000'000));
         }},
        {"24 MP 1.jpg",
         [](const QString& folder) {
             QImage photo(6000, 4000, QImage::Format_RGB32);
             for (int y = 0; y < photo.height(); ++y)
                 for (int x = 0; x < photo.width(); ++x)
                     photo.setPixel(x, y, qRgb(x % 256, y % 256, (x ^ y) % 256));
             QImageWriter writer(folder + "/1.jpg", "jpeg");
             writer.setQuality(90);
             return writer.write(photo);
         }},
    };
    std::printf("%s\n%-28s %9s %9s %9s  opened in the longest stretch after the frame\n",
                qPrintable(binary), "case", "longest", "after", "frame");
    int failures = 0;
    for (const Case& c : cases) {
        std::vector<Run> runs;
        for (int i = 0; i < trials; ++i)
            runs.push_back(runOnce(binary, mapwatch, c.prepare));
        const auto median = [&runs](double Run::*field) {
            std::vector<double> values;
            for (const Run& r : runs)
                values.push_back(r.*field);
            std::sort(values.begin(), values.end());
            return values[values.size() / 2];
        };
        const Run& sample = *std::max_element(
            runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.after < b.after; });
        const bool ok = std::all_of(runs.begin(), runs.end(),
                                    [](const Run& r) { return r.frame > 0 && r.longest > 0; });
        failures += !ok;
        std::printf("%-28s %7.1fms %7.1fms %7.1fms  %s%s\n", c.name, median(&Run::longest),
                    median(&Run::after), median(&Run::frame), qPrintable(sample.opened.join(' ')),
                    ok ? "" : "  (a run failed)");
        std::fflush(stdout);
    }
    return failures == 0 ? 0 : 1;
}
