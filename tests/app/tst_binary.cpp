// Runs the real program: command-line outcomes, a single copy per user, a
// lock left by a kill, and a clean end on a termination signal whenever it
// comes.

#include "app/CalendarWindow.h"
#include "support/Files.h"
#include "support/RootShot.h"
#include "support/SaverEnvironment.h"
#include "support/TestServices.h"
#include "support/TestSounds.h"
#include "support/Xvfb.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <unistd.h>
#include <xcb/xcb.h>

using navcal::test::Xvfb;

namespace {

// How a saver process stands, for a failure message; what it said stays to be read.
QString report(QProcess& p) {
    p.setReadChannel(QProcess::StandardError);
    return QStringLiteral("state %1, exit %2: %3")
        .arg(p.state())
        .arg(p.exitCode())
        .arg(QString::fromLocal8Bit(p.peek(p.bytesAvailable())));
}

// The first of `tools` that is not installed, or empty.
QString missingTool(const QStringList& tools) {
    for (const QString& tool : tools)
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return tool;
    return {};
}
// A missing tool fails the test: skipped, the test would pass unnoticed.
#define NEEDS(...)                                                                                 \
    if (const QString missing = missingTool({__VA_ARGS__}); !missing.isEmpty())                    \
    QFAIL(qPrintable(missing + " is needed (tools/bootstrap.sh installs it)"))

// Runs an X client on the display; whether it succeeded.
bool runOn(const QString& display, const QString& program, const QStringList& arguments) {
    QProcess p;
    QProcessEnvironment env;
    env.insert("PATH", "/usr/local/bin:/usr/bin:/bin");
    env.insert("DISPLAY", display);
    p.setProcessEnvironment(env);
    p.start(program, arguments);
    return p.waitForFinished(5000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool xrandr(const QString& display, const QStringList& arguments) {
    return runOn(display, "xrandr", arguments);
}

using navcal::test::screenshot;

// How many sockets the X server of `display` holds: its listening ones, and
// one more for each client it has accepted.
int serverSockets(const QString& display) {
    QFile table("/proc/net/unix");
    if (!table.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray name = "/tmp/.X11-unix/X" + display.mid(1).toLatin1();
    int sockets = 0;
    for (const QByteArray& line : table.readAll().split('\n'))
        sockets += line.endsWith(name);
    return sockets;
}

// The top-level windows of a display, one line each: id, "title", size.
QStringList windowTree(const QString& display) {
    QProcess info;
    info.start("xwininfo", {"-display", display, "-root", "-tree"});
    if (!info.waitForFinished(5000) || info.exitCode() != 0)
        return {};
    return QString::fromUtf8(info.readAllStandardOutput()).split('\n');
}

// The viewable windows titled one of `titles`, in the order the tree lists
// them. Place and state come from one reading of the window: one not yet
// mapped may still have the toolkit's default size.
struct ShownWindow {
    QString id, title;
    QRect place;
};
QList<ShownWindow> shownWindows(const QString& display, const QStringList& titles) {
    static const QRegularExpression line(R"re(^\s*(0x[0-9a-f]+) "(.*)": )re");
    QList<ShownWindow> shown;
    for (const QString& text : windowTree(display)) {
        const auto m = line.match(text);
        if (!m.hasMatch() || !titles.contains(m.captured(2)))
            continue;
        QProcess info;
        info.start("xwininfo", {"-display", display, "-id", m.captured(1)});
        if (!info.waitForFinished(5000))
            continue;
        const QString out = QString::fromUtf8(info.readAllStandardOutput());
        auto field = [&out](const char* label) {
            const QRegularExpression re(
                QStringLiteral("%1:\\s*(-?\\d+)").arg(QLatin1String(label)));
            return re.match(out).captured(1).toInt();
        };
        if (out.contains("IsViewable"))
            shown.append({m.captured(1), m.captured(2),
                          QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"),
                                field("Width"), field("Height"))});
    }
    return shown;
}

// Where the first viewable window of that title stands, or an empty rectangle.
QRect windowPlace(const QString& display, const QString& title) {
    const QList<ShownWindow> shown = shownWindows(display, {title});
    return shown.isEmpty() ? QRect() : shown.first().place;
}

bool windowShown(const QString& display) {
    return !windowPlace(display, QStringLiteral("Form1")).isEmpty();
}

// A Wayland compositor for one test, with a runtime folder and socket of its
// own, stopped when the test ends: Weston on `backend`, drawing with its CPU
// renderer so that its outputs have pixels.
struct Weston {
    Weston(const QString& backend, const QStringList& options, const QString& display = {}) {
        if (!runtime.isValid())
            return;
        QProcessEnvironment env;
        env.insert("PATH", qEnvironmentVariable("PATH"));
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        if (!display.isEmpty())
            env.insert("DISPLAY", display);
        server.setProcessEnvironment(env);
        server.setStandardOutputFile(QProcess::nullDevice());
        server.setStandardErrorFile(QProcess::nullDevice());
        server.start("weston", QStringList{"--backend=" + backend, "--socket=" + socket,
                                           "--no-config", "--idle-time=0", "--use-pixman",
                                           "--log=" + runtime.filePath("weston.log")} +
                                   options);
        server.waitForStarted();
        QElapsedTimer t;
        t.start();
        while (!QFile::exists(runtime.filePath(socket)) && t.elapsed() < 10000 &&
               server.state() == QProcess::Running)
            QTest::qWait(50);
        up = QFile::exists(runtime.filePath(socket));
    }
    ~Weston() {
        server.terminate();
        server.waitForFinished(3000);
    }
    // A client of this compositor alone: no X display to fall back on.
    QProcessEnvironment client(QProcessEnvironment env) const {
        env.remove("DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("WAYLAND_DISPLAY", socket);
        // The toolkit's Wayland plugin starts EGL, whose driver leaks once and
        // is unloaded before the leak check: only the slow unwinder reaches
        // the frames of its callers, by which the suppressions know it.
        if (env.contains("ASAN_OPTIONS"))
            env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":fast_unwind_on_malloc=0");
        return env;
    }
    QTemporaryDir runtime;
    const QString socket =
        QStringLiteral("wayland-navcal-%1").arg(QCoreApplication::applicationPid());
    QProcess server;
    bool up = false;
};

// How many of `image`'s pixels differ from `other`'s by more than a rounding.
int differentPixels(const QImage& image, const QImage& other) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor a = image.pixelColor(x, y), b = other.pixelColor(x, y);
            count +=
                qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) >
                24;
        }
    return count;
}

// Presses the left button at `grip` and moves the pointer by `by` in ten
// steps, as a hand drags, leaving the button down.
bool startDrag(const QString& display, QPoint grip, QPoint by) {
    if (!runOn(
            display, "xdotool",
            {"mousemove", QString::number(grip.x()), QString::number(grip.y()), "mousedown", "1"}))
        return false;
    for (int step = 1; step <= 10; ++step)
        if (!runOn(display, "xdotool",
                   {"mousemove", QString::number(grip.x() + by.x() * step / 10),
                    QString::number(grip.y() + by.y() * step / 10)}))
            return false;
    return true;
}

// Whether `condition` comes true within `ms` of wall-clock time. QTRY counts
// its polls rather than the time, so a condition that runs programs and takes
// seconds to answer would stretch its ceiling many times over; and it asks
// again after the answer, when a condition that takes shots must not.
template <typename Condition> bool within(int ms, Condition condition) {
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(50);
    }
    return true;
}

// The dragged picture once it has come where the pointer put it: two shots
// in a row from `shoot` show the same at `picture`, and its centre no longer
// shows `before` (caught on its way, the picture would cover the corners with
// the ship). A null image when it does not come within `ms`.
template <typename Shoot>
QImage settledPicture(int ms, const QImage& before, QRect picture, Shoot shoot) {
    QImage during, last;
    const bool arrived = within(ms, [&] {
        last = std::exchange(during, shoot());
        return !during.isNull() && !last.isNull() &&
               during.pixel(picture.center()) != before.pixel(picture.center()) &&
               last.copy(picture) == during.copy(picture);
    });
    return arrived ? during : QImage();
}

// The first corner of `picture` where `during` does not show the background
// `before` shows, as a failure message; empty when none.
QString coveredCorner(const QImage& before, const QImage& during, QRect picture) {
    for (const QPoint corner :
         {picture.topLeft(), picture.topRight(), picture.bottomLeft(), picture.bottomRight()})
        if (during.pixel(corner) != before.pixel(corner))
            return QStringLiteral("at %1,%2 the picture covers the background with %3")
                .arg(corner.x())
                .arg(corner.y())
                .arg(QColor(during.pixel(corner)).name());
    return {};
}

} // namespace

// QTRY's forms with wall-clock ceilings; a comparison that never comes true
// is compared once more, so the failure shows both sides.
#define WAIT_VERIFY(expr, ms) QVERIFY(within(ms, [&] { return bool(expr); }))
#define WAIT_VERIFY2(expr, message, ms) QVERIFY2(within(ms, [&] { return bool(expr); }), message)
#define WAIT_COMPARE(actual, expected, ms)                                                         \
    do {                                                                                           \
        if (!within(ms, [&] { return (actual) == (expected); }))                                   \
            QCOMPARE(actual, expected);                                                            \
    } while (false)

class TestBinary : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void previewEndsAtOnce();
    void noDisplayEndsWithOneLine_data();
    void noDisplayEndsWithOneLine();
    void configureShowsItsNotice();
    void terminationSignalEndsCleanly_data();
    void terminationSignalEndsCleanly();
    void signalsCaughtFromTheStart();
    void singleCopyAndStaleLockUnderXvfb();
    void firstProgramOnABareServer();
    void everyScreenCoveredAndAKeyOnAnyEndsAll();
    void draggedShipShowsNoBoxWithoutCompositor_data();
    void draggedShipShowsNoBoxWithoutCompositor();
    void waylandOutputsCoveredAndTheSaverEnds_data();
    void waylandOutputsCoveredAndTheSaverEnds();

  private:
    QProcessEnvironment environment(const QString& platform = "offscreen",
                                    const QString& display = {}) const;
    QTemporaryDir m_home;
};

void TestBinary::init() {
    QVERIFY(m_home.isValid());
}

QProcessEnvironment TestBinary::environment(const QString& platform, const QString& display) const {
    QProcessEnvironment env = navcal::test::saverEnvironment(m_home, platform);
    if (!display.isEmpty())
        env.insert("DISPLAY", display);
    return env;
}

// The switch's spellings are the command line's own tests'; here, that the
// program acts on it before anything else.
void TestBinary::previewEndsAtOnce() {
    QProcess p;
    p.setProcessEnvironment(environment());
    // The calendar would run until ended: finishing at all is the check.
    p.start(NAVCAL_BINARY, {"/p", "123"});
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
}

void TestBinary::noDisplayEndsWithOneLine_data() {
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<QString>("named"); // what the line names
    QString absent;
    for (int n = 4700; absent.isEmpty() && n < 4800; ++n)
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
            absent = QStringLiteral(":%1").arg(n);
    QTest::newRow("DISPLAY not set") << QString() << QString() << "DISPLAY is not set";
    QTest::newRow("no server there") << absent << QString() << absent;
    QTest::newRow("no compositor, no X display") << QString() << "wayland-navcal-none"
                                                 << "\"wayland-navcal-none\"";
}

// Started from a text console or with a stale DISPLAY, the calendar and the
// notice alike end with a line saying why, not with the toolkit's abort.
void TestBinary::noDisplayEndsWithOneLine() {
    QFETCH(QString, display);
    QFETCH(QString, wayland);
    QFETCH(QString, named);
    QProcessEnvironment env = environment("xcb", display);
    if (display.isEmpty())
        env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    if (!wayland.isEmpty()) {
        // The session's choice, as a Wayland desktop makes it.
        env.remove("QT_QPA_PLATFORM");
        env.insert("WAYLAND_DISPLAY", wayland);
    }
    for (const QStringList& arguments : {QStringList{}, QStringList{"/c"}}) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(NAVCAL_BINARY, arguments);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        const QList<QByteArray> lines = p.readAllStandardError().trimmed().split('\n');
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines.first().startsWith("navcal: ") && lines.first().contains(named.toUtf8()),
                 lines.first().constData());
    }
}

// The notice is a small modal dialog titled with the program's name; the
// calendar window never appears and the program waits for OK. Plain, and as
// the settings dialog asks with its own window's number (no window here).
void TestBinary::configureShowsItsNotice() {
    NEEDS("Xvfb", "xwininfo", "xprop");
    const Xvfb xvfb({"-screen", "0", "1024x768x24"});
    const QString& display = xvfb.display;
    QVERIFY2(!display.isEmpty(), "Xvfb did not come up");
    QProcessEnvironment env = environment("xcb", display);
    for (const QStringList& arguments : {QStringList{"/c"}, QStringList{"/c:1234"}}) {
        const QString name = arguments.join(' ');
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(NAVCAL_BINARY, arguments);
        QVERIFY(p.waitForStarted());
        auto end = qScopeGuard([&] {
            p.kill();
            p.waitForFinished();
        });
        QList<ShownWindow> shown;
        QElapsedTimer t;
        t.start();
        while (shown.isEmpty() && t.elapsed() < 20000 && p.state() == QProcess::Running) {
            shown = shownWindows(display, {QStringLiteral("Военно-морской календарь")});
            if (shown.isEmpty())
                QTest::qWait(100);
        }
        QVERIFY2(!shown.isEmpty(), qPrintable(name + ": " + windowTree(display).join('\n')));
        const ShownWindow& notice = shown.first();
        QVERIFY2(notice.place.width() < 600 && notice.place.height() < 400,
                 qPrintable(QStringLiteral("%1: %2x%3")
                                .arg(name)
                                .arg(notice.place.width())
                                .arg(notice.place.height())));
        QProcess type;
        type.start("xprop", {"-display", display, "-id", notice.id, "_NET_WM_WINDOW_TYPE"});
        QVERIFY(type.waitForFinished(5000));
        QVERIFY2(type.readAllStandardOutput().contains("_NET_WM_WINDOW_TYPE_DIALOG"),
                 qPrintable(name));
        QTest::qWait(300);
        QVERIFY2(!windowShown(display), qPrintable(name));
        QCOMPARE(p.state(), QProcess::Running);
    }
}

void TestBinary::terminationSignalEndsCleanly_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("fontDpi");
    QTest::addColumn<int>("badRows"); // in the user's holidays.txt
    QTest::newRow("SIGTERM, /s") << int(SIGTERM) << QStringList{"/s"} << QByteArray() << 0;
    QTest::newRow("SIGINT, no switch") << int(SIGINT) << QStringList{} << QByteArray() << 0;
    QTest::newRow("SIGHUP, toolkit-like text")
        << int(SIGHUP) << QStringList{"-platform", "junk"} << QByteArray() << 0;
    QTest::newRow("SIGTERM, absurd font DPI")
        << int(SIGTERM) << QStringList{"/s"} << QByteArray("2147483647") << 0;
    QTest::newRow("SIGTERM, a holidays.txt of 25 bad rows")
        << int(SIGTERM) << QStringList{"/s"} << QByteArray() << 25;
}

// With music playing, too: the audio library must not swallow the signal.
void TestBinary::terminationSignalEndsCleanly() {
    QFETCH(int, signalNumber);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, fontDpi);
    QFETCH(int, badRows);
    QDir().mkpath(m_home.filePath("data/navcal"));
    const QString holidays = m_home.filePath("data/navcal/holidays.txt");
    QFile::remove(holidays);
    if (badRows)
        QVERIFY(
            navcal::test::writeFile(holidays, QByteArray("31.02 | red | x\n").repeated(badRows)));
    QVERIFY(navcal::test::writeFile(m_home.filePath("data/navcal/muzz.wav"),
                                    navcal::test::sineWave(10.0)));
    const QString sound = m_home.filePath("sound.raw");
    QFile::remove(sound);
    QProcessEnvironment env = environment();
    env.insert("SDL_AUDIODRIVER", "disk");
    env.insert("SDL_DISKAUDIOFILE", sound);
    if (!fontDpi.isEmpty())
        env.insert("QT_FONT_DPI", QString::fromLatin1(fontDpi));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(NAVCAL_BINARY, arguments);
    QVERIFY(p.waitForStarted());
    // The music really sounds: the disk driver has written something loud.
    WAIT_VERIFY2(navcal::test::measure(sound, 2000).loudSamples > 1000, qPrintable(report(p)),
                 30000);
    QCOMPARE(p.state(), QProcess::Running);
    ::kill(pid_t(p.processId()), signalNumber);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
    // Bad rows cost a line each, up to twenty: a junk file does not flood the log.
    QByteArrayList said;
    for (const QByteArray& line : p.readAllStandardError().split('\n'))
        if (line.contains("holidays.txt"))
            said << line;
    QCOMPARE(said.size(), badRows ? 21 : 0);
    if (badRows) {
        QVERIFY2(said.first().endsWith("holidays.txt:1: no day 31.02"), said.first().constData());
        QVERIFY2(said.last().endsWith("holidays.txt: 5 more rows skipped"),
                 said.last().constData());
    }
}

// SIGTERM is taken from before the toolkit starts: while the configure
// notice waits, and as soon as the toolkit has loaded its platform.
void TestBinary::signalsCaughtFromTheStart() {
    QProcess notice;
    notice.setProcessEnvironment(environment());
    notice.start(NAVCAL_BINARY, {"/c"});
    QVERIFY(notice.waitForStarted());
    QVERIFY(navcal::test::waitForPlatform(notice.processId()));
    QVERIFY(!notice.waitForFinished(700)); // the notice waits
    ::kill(pid_t(notice.processId()), SIGTERM);
    QVERIFY(notice.waitForFinished(10000));
    QCOMPARE(notice.exitStatus(), QProcess::NormalExit);
    QCOMPARE(notice.exitCode(), 0);

    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(NAVCAL_BINARY, {"/s"});
    QVERIFY(p.waitForStarted());
    // Polled without a pause: the signal comes as soon as the platform is there.
    QVERIFY(navcal::test::waitForPlatform(p.processId(), 0));
    QFile status(QStringLiteral("/proc/%1/status").arg(p.processId()));
    QVERIFY(status.open(QIODevice::ReadOnly));
    quint64 caught = 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            caught = line.mid(7).trimmed().toULongLong(nullptr, 16);
    ::kill(pid_t(p.processId()), SIGTERM);
    QVERIFY(caught & (quint64(1) << (SIGTERM - 1)));
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
}

void TestBinary::singleCopyAndStaleLockUnderXvfb() {
    NEEDS("Xvfb", "xwininfo");
    const Xvfb xvfb({"-screen", "0", "1024x768x24"});
    const QString& display = xvfb.display;
    QVERIFY2(!display.isEmpty(), "Xvfb did not come up");

    QProcessEnvironment env = environment("xcb", display);

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(NAVCAL_BINARY, {"/s"});
    WAIT_VERIFY2(windowShown(display), qPrintable(report(first)), 30000);

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(NAVCAL_BINARY, {"/s"});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);

    // A killed copy leaves its lock file behind; the next copy runs all the same.
    first.kill();
    QVERIFY(first.waitForFinished(10000));
    WAIT_VERIFY(!windowShown(display), 30000);

    // Toolkit-style options are the saver's text, not the toolkit's.
    QProcess third;
    third.setProcessEnvironment(env);
    third.start(NAVCAL_BINARY, {"-display", "nowhere:0", "-geometry", "10x10"});
    WAIT_VERIFY2(windowShown(display), qPrintable(report(third)), 30000);
    QCOMPARE(third.state(), QProcess::Running);
    third.terminate();
    QVERIFY(third.waitForFinished(10000));
    QCOMPARE(third.exitCode(), 0);
}

// Alone on a server that ends with its last client (as a server left to
// reset does, for as long as it resets), the saver starts and keeps it up.
void TestBinary::firstProgramOnABareServer() {
    NEEDS("Xvfb", "xwininfo");
    const Xvfb xvfb({"-screen", "0", "1024x768x24"}, {"-terminate"});
    QVERIFY2(!xvfb.display.isEmpty(), "Xvfb did not come up");
    const int listening = serverSockets(xvfb.display);
    QProcess saver;
    saver.setProcessEnvironment(environment("xcb", xvfb.display));
    saver.start(NAVCAL_BINARY, {"/s"});
    // Asked before the saver has connected, a client of ours would be the one
    // to leave last.
    WAIT_VERIFY2(serverSockets(xvfb.display) > listening, qPrintable(report(saver)), 30000);
    WAIT_VERIFY2(windowShown(xvfb.display), qPrintable(report(saver)), 30000);
    saver.terminate();
    QVERIFY(saver.waitForFinished(10000));
    QCOMPARE(saver.exitStatus(), QProcess::NormalExit);
    QCOMPARE(saver.exitCode(), 0);
}

// Two monitors side by side on one desktop: the calendar fills the primary
// one, a cover the other, as monitors come and go and the primary one moves;
// a key typed on the cover ends the saver. The
// monitors are two RandR monitors on one wide screen (Xvfb's own Xinerama
// stacks its screens at the same origin).
void TestBinary::everyScreenCoveredAndAKeyOnAnyEndsAll() {
    NEEDS("Xvfb", "xwininfo", "xdotool", "xrandr");
    const Xvfb xvfb({"-screen", "0", "2304x1024x24"});
    const QString& display = xvfb.display;
    QVERIFY2(!display.isEmpty(), "Xvfb did not come up");
    const QStringList right = {"--setmonitor", "right", "1024/260x768/195+1280+0", "none"};
    QVERIFY(xrandr(display, {"--setmonitor", "left", "1280/325x1024/260+0+0", "screen"}));
    QVERIFY(xrandr(display, right));
    QProcessEnvironment env = environment("xcb", display);

    QProcess saver;
    saver.setProcessEnvironment(env);
    saver.start(NAVCAL_BINARY, {"/s"});
    WAIT_COMPARE(windowPlace(display, "Form1"), QRect(0, 0, 1280, 1024), 30000);
    WAIT_COMPARE(windowPlace(display, "ScreenCover"), QRect(1280, 0, 1024, 768), 30000);

    // The monitor unplugged and plugged in again while the saver runs.
    QVERIFY(xrandr(display, {"--delmonitor", "right"}));
    WAIT_VERIFY2(windowPlace(display, "ScreenCover").isEmpty(), "the cover outlived its monitor",
                 30000);
    QCOMPARE(saver.state(), QProcess::Running);
    QVERIFY(xrandr(display, right));
    WAIT_VERIFY2(!windowPlace(display, "ScreenCover").isEmpty(),
                 "no cover on the monitor plugged in", 30000);

    // The primary monitor changes: the calendar keeps its own, the cover its.
    using Shown = QList<std::pair<QString, QRect>>;
    auto calendarAndCovers = [&display] {
        Shown shown;
        for (const ShownWindow& w : shownWindows(display, {"Form1", "ScreenCover"}))
            shown.append({w.title, w.place});
        return shown;
    };
    QVERIFY(xrandr(display, {"--delmonitor", "right", "--setmonitor", "*right",
                             "1024/260x768/195+1280+0", "none"}));
    const Shown afterPrimary = {{"Form1", QRect(0, 0, 1280, 1024)},
                                {"ScreenCover", QRect(1280, 0, 1024, 768)}};
    WAIT_COMPARE(calendarAndCovers(), afterPrimary, 30000);

    // The calendar's monitor goes: the calendar fills the primary one, and the
    // screen that now spans the desktop is covered beneath it.
    QVERIFY(xrandr(display, {"--delmonitor", "left"}));
    const Shown afterRemoval = {{"Form1", QRect(1280, 0, 1024, 768)},
                                {"ScreenCover", QRect(0, 0, 2304, 1024)}};
    WAIT_COMPARE(calendarAndCovers(), afterRemoval, 30000);
    QCOMPARE(saver.state(), QProcess::Running);

    // On a busy machine the toolkit can still be redoing the covers for the
    // last change when the key comes, and a window that goes takes the focus
    // with it: the key is typed again, into the cover of the moment, until
    // the saver ends or the ceiling passes.
    const bool keyEnded = within(30000, [&] {
        if (saver.state() != QProcess::NotRunning &&
            runOn(display, "xdotool",
                  {"search", "--name", "^ScreenCover$", "windowfocus", "--sync", "key",
                   "--clearmodifiers", "x"}))
            saver.waitForFinished(2000);
        return saver.state() == QProcess::NotRunning;
    });
    QVERIFY2(keyEnded, "the key on the second screen did not end the saver");
    QCOMPARE(saver.exitStatus(), QProcess::NormalExit);
    QCOMPARE(saver.exitCode(), 0);
}

void TestBinary::draggedShipShowsNoBoxWithoutCompositor_data() {
    QTest::addColumn<bool>("signalMidDrag");
    QTest::newRow("dropped, then ended") << false;
    QTest::newRow("SIGTERM mid-drag") << true;
}

// Dragging the ship on an X desktop with no compositor: the picture that
// follows the pointer shows the background through its transparent corners,
// not a white box around it. A termination signal that comes while the
// button is still held ends the saver as cleanly as at rest.
void TestBinary::draggedShipShowsNoBoxWithoutCompositor() {
    QFETCH(bool, signalMidDrag);
    NEEDS("Xvfb", "xwininfo", "xdotool");
    const Xvfb xvfb({"-screen", "0", "1024x768x24"});
    const QString& display = xvfb.display;
    QVERIFY2(!display.isEmpty(), "Xvfb did not come up");
    auto pointer = [&display](const QStringList& arguments) {
        return runOn(display, "xdotool", arguments);
    };
    // Where the ship stands on this screen, from the window's own start-up.
    navcal::test::TestWindow model(QDate::currentDate(), QSize(1024, 768));
    const QRect ship = navcal::test::Parts(model.shown()).ship->geometry();
    const QPoint moved(-150, -190); // over the open sea, clear of the ship and the banner

    const auto homeFiles = [this] {
        return QDir(m_home.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    };
    QStringList filesBefore = homeFiles();
    filesBefore.removeAll("navcal.lock");
    QProcess saver;
    saver.setProcessEnvironment(environment("xcb", display));
    saver.start(NAVCAL_BINARY, {"/s"});
    QElapsedTimer running;
    running.start();
    WAIT_VERIFY(windowShown(display), 30000);
    // Where the picture will go and the ship stand still once the months
    // have filled and the banner has had its first tick (1.5 s): two screens
    // in a row show the same there (the clock and today's cell change on).
    const QRect picture = ship.translated(moved);
    const QRect watched = picture.united(ship);
    QImage before, previous;
    QVERIFY(within(30000, [&] {
        previous = std::exchange(before, screenshot(display));
        return running.elapsed() > 2000 && !before.isNull() && !previous.isNull() &&
               previous.copy(watched) == before.copy(watched);
    }));
    QVERIFY(startDrag(display, ship.center(), moved));
    // The picture has come once the drag's window stands where the pointer
    // put it and two shots in a row show the same there: on a busy machine it
    // trails the pointer, and a picture caught on its way would cover the
    // corners with the ship.
    const QString place = QStringLiteral("%1x%2+%3+%4")
                              .arg(picture.width())
                              .arg(picture.height())
                              .arg(picture.x())
                              .arg(picture.y());
    const QImage during = settledPicture(60000, before, picture, [&] {
        const QStringList tree = windowTree(display);
        if (std::none_of(tree.begin(), tree.end(),
                         [&](const QString& line) { return line.contains(place); }))
            return QImage();
        return screenshot(display);
    });
    QVERIFY2(!during.isNull(), "no picture followed the pointer");
    if (signalMidDrag) {
        ::kill(pid_t(saver.processId()), SIGTERM);
        QVERIFY2(saver.waitForFinished(10000), qPrintable(report(saver)));
        QCOMPARE(saver.exitStatus(), QProcess::NormalExit);
        QCOMPARE(saver.exitCode(), 0);
        // Nothing is left: no window (the dragged picture's included) and
        // no held lock; the lock file is all the program leaves in its folder.
        WAIT_VERIFY(!windowShown(display), 5000);
        QVERIFY(!windowTree(display).join('\n').contains(place));
        QStringList left = homeFiles();
        left.removeAll("navcal.lock");
        QCOMPARE(left, filesBefore);
        const int lock = ::open(qPrintable(m_home.filePath("navcal.lock")), O_RDONLY);
        QVERIFY(lock >= 0 && ::flock(lock, LOCK_EX | LOCK_NB) == 0);
        ::close(lock);
    }
    QVERIFY(pointer({"mouseup", "1"}));
    const QString covered = coveredCorner(before, during, picture);
    QVERIFY2(covered.isEmpty(), qPrintable(covered));
    if (signalMidDrag)
        return;
    saver.terminate();
    QVERIFY(saver.waitForFinished(10000));
    QCOMPARE(saver.exitCode(), 0);
}

// The screen's resolution changed while the saver runs (a game that set its
// own, a laptop docked): the calendar follows the screen, smaller and larger.
void TestBinary::waylandOutputsCoveredAndTheSaverEnds_data() {
    QTest::addColumn<bool>("twoOutputs");
    // Weston's headless outputs have no input devices: the saver is ended by
    // the system there, and a key and a drag are tried on two outputs of
    // Weston running in windows of an X server.
    QTest::newRow("headless, one output") << false;
    QTest::newRow("two outputs with input") << true;
}

// A native Wayland client (no X display is there to fall back on): the
// calendar fills one output, a cover the other, the ship is dragged without a
// box around it, and a key typed on the cover's output ends the saver.
void TestBinary::waylandOutputsCoveredAndTheSaverEnds() {
    QFETCH(bool, twoOutputs);
    NEEDS("weston", "weston-screenshooter", "Xvfb", "xdotool", "import");
    std::optional<Xvfb> xvfb;
    std::optional<Weston> weston;
    if (twoOutputs) {
        xvfb.emplace(QStringList{"-screen", "0", "2048x768x24"});
        QVERIFY2(!xvfb->display.isEmpty(), "Xvfb did not come up");
        weston.emplace("x11-backend.so",
                       QStringList{"--output-count=2", "--width=1024", "--height=768"},
                       xvfb->display);
    } else {
        // The screenshooter answers only with the debug protocol enabled.
        weston.emplace("headless-backend.so",
                       QStringList{"--width=1024", "--height=768", "--debug"});
    }
    QVERIFY2(weston->up, "weston did not come up");
    auto pointer = [&xvfb](const QStringList& arguments) {
        return runOn(xvfb->display, "xdotool", arguments);
    };
    // The outputs' windows stand side by side, as monitors would.
    QString secondOutput;
    if (twoOutputs) {
        static const QRegularExpression line(
            R"re(^\s*(0x[0-9a-f]+) "Weston Compositor - screen1")re");
        for (const QString& text : windowTree(xvfb->display))
            if (const auto m = line.match(text); m.hasMatch())
                secondOutput = m.captured(1);
        QVERIFY(!secondOutput.isEmpty());
        QVERIFY(pointer({"windowmove", "--sync", secondOutput, "1024", "0"}));
        // The X focus is set on the second output before the saver's windows
        // come, and stays there: Weston takes the keyboard from its windows
        // when its output loses the X focus, and may not give it back.
        QVERIFY(pointer({"windowfocus", "--sync", secondOutput}));
    }
    auto shot = [&]() -> QImage {
        if (twoOutputs)
            return screenshot(xvfb->display);
        QTemporaryDir folder;
        QProcess shooter;
        shooter.setWorkingDirectory(folder.path());
        shooter.setProcessEnvironment(weston->client(QProcessEnvironment::systemEnvironment()));
        shooter.start("weston-screenshooter", {});
        shooter.waitForFinished(10000);
        const QStringList taken = QDir(folder.path()).entryList({"*.png"});
        return taken.isEmpty() ? QImage() : QImage(folder.filePath(taken.first()));
    };

    QProcess saver;
    auto startSaver = [&] {
        saver.setProcessEnvironment(weston->client(environment()));
        saver.start(NAVCAL_BINARY, {"/s"});
        // The months filled, the clock going.
        return saver.waitForStarted() && !saver.waitForFinished(4000);
    };
    auto ended = [&saver] {
        return saver.waitForFinished(5000) && saver.exitStatus() == QProcess::NormalExit &&
               saver.exitCode() == 0;
    };
    QVERIFY(startSaver());
    const QImage before = shot();
    QCOMPARE(before.size(), twoOutputs ? QSize(2048, 768) : QSize(1024, 768));
    // The calendar over the first output, the seascape alone over the second.
    navcal::test::TestWindow model(QDate::currentDate(), QSize(1024, 768));
    const navcal::test::Parts modelParts(model.shown());
    const QImage sea = modelParts.background->picture().scaled(1024, 768, Qt::IgnoreAspectRatio,
                                                               Qt::SmoothTransformation);
    const QImage first = before.copy(0, 0, 1024, 768).convertToFormat(sea.format());
    QVERIFY2(differentPixels(first, sea) > 1024 * 768 / 20,
             "the calendar is not on the first output");
    if (!twoOutputs) {
        ::kill(pid_t(saver.processId()), SIGTERM);
        QVERIFY2(ended(), qPrintable(report(saver)));
        return;
    }
    const QImage second = before.copy(1024, 0, 1024, 768).convertToFormat(sea.format());
    QVERIFY2(differentPixels(second, sea) < 1024 * 768 / 100, "no cover on the second output");
    // The compositor hands the keyboard to a window of its own choosing once
    // they are shown: until one has it, a key reaches nobody, so it is typed
    // again, into the output's window, until the saver ends or the ceiling
    // passes.
    QVERIFY(pointer({"mousemove", "1500", "300"}));
    const bool keyEnded = within(30000, [&] {
        if (saver.state() != QProcess::NotRunning &&
            pointer({"windowfocus", "--sync", secondOutput, "key", "x"}))
            saver.waitForFinished(2000);
        return saver.state() == QProcess::NotRunning;
    });
    QVERIFY2(keyEnded, "the key on the second output did not end the saver");
    QCOMPARE(saver.exitStatus(), QProcess::NormalExit);
    QCOMPARE(saver.exitCode(), 0);

    // Weston gives the keyboard to no window after a drag, until a click:
    // the saver that is dragged about is ended by a click on the cover.
    QVERIFY(startSaver());
    const QRect ship = modelParts.ship->geometry();
    const QPoint moved(-150, -190);
    QVERIFY(startDrag(xvfb->display, ship.center(), moved));
    const QRect picture = ship.translated(moved);
    const QImage during = settledPicture(30000, before, picture, shot);
    QVERIFY2(!during.isNull(), "no picture followed the pointer");
    QVERIFY(pointer({"mouseup", "1"}));
    const QString covered = coveredCorner(before, during, picture);
    QVERIFY2(covered.isEmpty(), qPrintable(covered));
    QCOMPARE(saver.state(), QProcess::Running);
    QVERIFY(pointer({"mousemove", "1500", "300", "click", "1"}));
    QVERIFY2(ended(), "the click on the second output did not end the saver");
}

QTEST_MAIN(TestBinary)
#include "tst_binary.moc"
