// A window lent by a screensaver host: drawing inside a
// test-made window and nowhere else, ending when the window goes away, and
// leaving nothing behind.

#include "platform/HostWindow.h"
#include "support/Files.h"
#include "support/RootShot.h"
#include "support/SaverEnvironment.h"
#include "support/Xvfb.h"

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <xcb/xcb.h>

namespace {

constexpr QRect kLent(120, 90, 480, 360);
constexpr uint32_t kLentColour = 0x203040; // a bare lent window: one flat colour

// Distinct colours in a part of a screenshot.
int colours(const QImage& shot, const QRect& area) {
    QSet<QRgb> seen;
    for (int y = area.top(); y <= area.bottom(); y += 2)
        for (int x = area.left(); x <= area.right(); x += 2)
            seen.insert(shot.pixel(x, y));
    return int(seen.size());
}

// A session bus of the test's own: nothing to activate, gone with the test.
// Its address, or empty when it did not come up.
QString startBus(QProcess& bus, const QTemporaryDir& dir) {
    const QString config = dir.filePath("bus.conf");
    if (!navcal::test::writeFile(
            config, QStringLiteral("<busconfig><type>session</type><listen>unix:path=%1</listen>"
                                   "<auth>EXTERNAL</auth><policy context=\"default\">"
                                   "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                                   "<allow own=\"*\"/>"
                                   "</policy></busconfig>")
                        .arg(dir.filePath("bus"))
                        .toUtf8()))
        return {};
    QProcessEnvironment env;
    env.insert("PATH", "/usr/bin:/bin");
    bus.setProcessEnvironment(env);
    bus.start("dbus-daemon", {"--nofork", "--print-address", "--config-file=" + config});
    QByteArray said;
    while (!said.contains('\n') && bus.waitForReadyRead(20000))
        said += bus.readAllStandardOutput();
    return QString::fromLatin1(said.trimmed());
}

// The processes connected to a bus.
QList<qint64> busPeers(const QString& address) {
    auto call = [&address](const QStringList& arguments) {
        QProcess send;
        send.start("dbus-send",
                   QStringList{"--bus=" + address, "--print-reply", "--dest=org.freedesktop.DBus",
                               "/org/freedesktop/DBus"} +
                       arguments);
        send.waitForFinished(10000);
        return QString::fromUtf8(send.readAllStandardOutput());
    };
    static const QRegularExpression uniqueName(R"re(string "(:[0-9.]+)")re");
    static const QRegularExpression number(R"re(uint32 (\d+))re");
    QList<qint64> peers;
    for (const auto& name : uniqueName.globalMatch(call({"org.freedesktop.DBus.ListNames"}))) {
        const auto pid = number.match(call(
            {"org.freedesktop.DBus.GetConnectionUnixProcessID", "string:" + name.captured(1)}));
        if (pid.hasMatch())
            peers << pid.captured(1).toLongLong();
    }
    return peers;
}

// The running processes that have `home` for their home, by name: whatever a
// run started inherits it.
QStringList processesAtHome(const QString& home) {
    const QByteArray entry = "HOME=" + QFile::encodeName(home);
    QStringList found;
    for (const QString& pid : QDir("/proc").entryList({"[0-9]*"}, QDir::Dirs)) {
        QFile environ(QStringLiteral("/proc/%1/environ").arg(pid));
        QFile name(QStringLiteral("/proc/%1/comm").arg(pid));
        if (environ.open(QIODevice::ReadOnly) && environ.readAll().split('\0').contains(entry) &&
            name.open(QIODevice::ReadOnly))
            found << pid + ' ' + QString::fromLocal8Bit(name.readAll().trimmed());
    }
    return found;
}

} // namespace

class TestHostWindow : public QObject {
    Q_OBJECT
  private slots:
    void drawsOnlyInsideTheLentWindow_data();
    void drawsOnlyInsideTheLentWindow();
    void refusesWhatIsNoWindow_data();
    void refusesWhatIsNoWindow();
    void cleanupTestCase();

  private:
    bool startServer();
    QProcess* run(const QStringList& arguments, const QString& bus = {}, const QString& scale = {});

    std::unique_ptr<navcal::test::Xvfb> m_server;
    QString m_display;
    QTemporaryDir m_home;
};

bool TestHostWindow::startServer() {
    if (!m_server)
        m_server = std::make_unique<navcal::test::Xvfb>(QStringList{"-screen", "0", "800x600x24"});
    m_display = m_server->display;
    return !m_display.isEmpty();
}

// As a host starts it: a session bus only when given one.
QProcess* TestHostWindow::run(const QStringList& arguments, const QString& bus,
                              const QString& scale) {
    auto* p = new QProcess(this);
    QProcessEnvironment env = navcal::test::saverEnvironment(m_home, "xcb");
    env.insert("DISPLAY", m_display);
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    if (!bus.isEmpty())
        env.insert("DBUS_SESSION_BUS_ADDRESS", bus);
    if (!scale.isEmpty())
        env.insert("QT_SCALE_FACTOR", scale);
    p->setProcessEnvironment(env);
    p->start(NAVCAL_BINARY, arguments);
    return p;
}

void TestHostWindow::drawsOnlyInsideTheLentWindow_data() {
    QTest::addColumn<bool>("bus");
    QTest::addColumn<QString>("scale"); // the toolkit's pixel ratio
    // With a desktop's packages, the bus library would start a bus of its own.
    QTest::newRow("no session bus") << false << QString();
    QTest::newRow("a session bus") << true << QString();
    QTest::newRow("twice the pixels") << false << QStringLiteral("2");
}

void TestHostWindow::drawsOnlyInsideTheLentWindow() {
    QFETCH(bool, bus);
    QFETCH(QString, scale);
    QVERIFY2(startServer(), "Xvfb is needed (package xvfb)");
    QTemporaryDir busDir;
    QProcess busDaemon;
    const QString address = bus ? startBus(busDaemon, busDir) : QString();
    auto stopBus = qScopeGuard([&busDaemon] {
        busDaemon.terminate();
        busDaemon.waitForFinished(10000);
    });
    QVERIFY2(!bus || !address.isEmpty(), "dbus-daemon did not come up (package dbus-daemon)");
    xcb_connection_t* c = xcb_connect(qPrintable(m_display), nullptr);
    auto disconnect = qScopeGuard([c] { xcb_disconnect(c); });
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t lent = xcb_generate_id(c);
    const uint32_t values[] = {kLentColour};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, lent, screen->root, kLent.x(), kLent.y(),
                      kLent.width(), kLent.height(), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL, values);
    xcb_map_window(c, lent);
    xcb_flush(c);
    const QImage before = navcal::test::grabRoot(c, screen);

    QProcess* saver = run({"-window-id", QStringLiteral("0x%1").arg(lent, 0, 16)}, address, scale);
    // The calendar's window is the lent one's size in pixels, at any ratio.
    auto calendarPixels = [c, lent] {
        auto* tree = xcb_query_tree_reply(c, xcb_query_tree(c, lent), nullptr);
        QSize size;
        if (tree && xcb_query_tree_children_length(tree) > 0)
            if (auto* g = xcb_get_geometry_reply(
                    c, xcb_get_geometry(c, xcb_query_tree_children(tree)[0]), nullptr)) {
                size = QSize(g->width, g->height);
                free(g);
            }
        free(tree);
        return size;
    };
    // Inside: the seascape and the calendar, many colours.
    QImage shot;
    QTRY_VERIFY_WITH_TIMEOUT(saver->state() == QProcess::Running &&
                                 colours(shot = navcal::test::grabRoot(c, screen), kLent) > 300,
                             20000);
    QTRY_COMPARE_WITH_TIMEOUT(calendarPixels(), kLent.size(), 20000);
    shot.save(QDir(QCoreApplication::applicationDirPath()).filePath("hostwindow-shot.png"));
    // Outside: exactly as before.
    for (const QRect& band : {QRect(0, 0, 800, kLent.top()), QRect(0, kLent.bottom() + 1, 800, 10),
                              QRect(0, 0, kLent.left(), 600), QRect(kLent.right() + 1, 0, 10, 600)})
        QCOMPARE(shot.copy(band), before.copy(band));
    // The host makes its window larger: the calendar fills it all, the
    // strip it gained included.
    const uint32_t grown[] = {uint32_t(kLent.width() + 120), uint32_t(kLent.height() + 90)};
    xcb_configure_window(c, lent, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, grown);
    xcb_flush(c);
    const QRect gained(kLent.right() + 1, kLent.top(), 120, kLent.height() + 90);
    QTRY_VERIFY2_WITH_TIMEOUT(colours(navcal::test::grabRoot(c, screen), gained) > 100,
                              "the calendar did not follow its window", 20000);
    // Accessibility reaches the bus it is given.
    if (bus)
        QTRY_VERIFY_WITH_TIMEOUT(busPeers(address).contains(saver->processId()), 10000);

    // The host drops its window while the saver runs: one line, an error code,
    // within a second.
    xcb_destroy_window(c, lent);
    xcb_flush(c);
    QElapsedTimer t;
    t.start();
    QVERIFY(saver->waitForFinished(3000));
    QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
    QCOMPARE(saver->exitStatus(), QProcess::NormalExit);
    QVERIFY(saver->exitCode() != 0);
    const QStringList lines =
        QString::fromLocal8Bit(saver->readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.first().contains("destroyed") || lines.first().contains("gone"),
             qPrintable(lines.first()));
    // Nothing of the run is left: no process that came of it (a bus started
    // for it would carry its home), no file.
    QCOMPARE(processesAtHome(m_home.path()), QStringList());
    QVERIFY(QDir(m_home.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

void TestHostWindow::refusesWhatIsNoWindow_data() {
    QTest::addColumn<QString>("id");
    QTest::newRow("not a number") << "twelve";
    QTest::newRow("no such window") << "0x7ffff01";
    QTest::newRow("the root window") << "root";
}

void TestHostWindow::refusesWhatIsNoWindow() {
    QFETCH(QString, id);
    QVERIFY2(startServer(), "Xvfb is needed (package xvfb)");
    if (id == "root") {
        xcb_connection_t* c = xcb_connect(qPrintable(m_display), nullptr);
        id = QString::number(xcb_setup_roots_iterator(xcb_get_setup(c)).data->root);
        xcb_disconnect(c);
    }
    QElapsedTimer t;
    t.start();
    QProcess* saver = run({"-window-id", id});
    QVERIFY(saver->waitForFinished(3000));
    QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
    QVERIFY(saver->exitCode() != 0);
    QCOMPARE(saver->readAllStandardError().count('\n'), 1);
}

void TestHostWindow::cleanupTestCase() {
    m_server.reset();
}

QTEST_MAIN(TestHostWindow)
#include "tst_hostwindow.moc"
