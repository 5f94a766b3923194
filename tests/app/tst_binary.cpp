// Runs the real program: command-line outcomes, a single copy per user, a
// stale lock after a kill, and a clean end on a termination signal.

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

namespace {

struct Display {
    QProcess server;
    QString name;
};

bool windowShown(const QString& display) {
    QProcess info;
    info.start("xwininfo", {"-display", display, "-name", "Form1"});
    return info.waitForFinished(5000) && info.exitStatus() == QProcess::NormalExit &&
           info.exitCode() == 0 && info.readAllStandardOutput().contains("IsViewable");
}

bool waitForWindow(const QString& display, int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        if (windowShown(display))
            return true;
        QTest::qWait(100);
    }
    return false;
}

} // namespace

class TestBinary : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void previewEndsAtOnce_data();
    void previewEndsAtOnce();
    void configureWaitsForItsNotice();
    void terminationSignalEndsCleanly_data();
    void terminationSignalEndsCleanly();
    void singleCopyAndStaleLockUnderXvfb();

  private:
    QProcessEnvironment environment(const QString& platform = "offscreen") const;
    QTemporaryDir m_home;
};

void TestBinary::init() {
    QVERIFY(m_home.isValid());
}

QProcessEnvironment TestBinary::environment(const QString& platform) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", platform);
    env.insert("HOME", m_home.path());
    env.insert("XDG_DATA_HOME", m_home.filePath("data"));
    env.insert("XDG_RUNTIME_DIR", m_home.path());
    env.insert("SDL_AUDIODRIVER", "dummy");
    QFile::setPermissions(m_home.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return env;
}

void TestBinary::previewEndsAtOnce_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("/p 123") << QStringList{"/p", "123"};
    QTest::newRow("-p 123") << QStringList{"-p", "123"};
    QTest::newRow("/P123") << QStringList{"/P123"};
}

void TestBinary::previewEndsAtOnce() {
    QFETCH(QStringList, arguments);
    QProcess p;
    p.setProcessEnvironment(environment());
    QElapsedTimer t;
    t.start();
    p.start(NAVCAL_BINARY, arguments);
    QVERIFY(p.waitForFinished(5000));
    QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
}

// The notice is modal: the program waits for OK and shows no calendar meanwhile.
void TestBinary::configureWaitsForItsNotice() {
    for (const QStringList& arguments :
         {QStringList{"/c"}, QStringList{"/C"}, QStringList{"/c:1234"}, QStringList{"-c"}}) {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(NAVCAL_BINARY, arguments);
        QVERIFY(p.waitForStarted());
        QVERIFY2(!p.waitForFinished(700), qPrintable(arguments.join(' ')));
        p.kill();
        p.waitForFinished();
    }
}

void TestBinary::terminationSignalEndsCleanly_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("SIGTERM, /s") << int(SIGTERM) << QStringList{"/s"};
    QTest::newRow("SIGINT, no switch") << int(SIGINT) << QStringList{};
    QTest::newRow("SIGHUP, toolkit-like text") << int(SIGHUP) << QStringList{"-platform", "junk"};
}

// With music playing, too: the audio library must not swallow the signal.
void TestBinary::terminationSignalEndsCleanly() {
    QFETCH(int, signalNumber);
    QFETCH(QStringList, arguments);
    QDir().mkpath(m_home.filePath("data/navcal"));
    QFile wav(m_home.filePath("data/navcal/muzz.wav"));
    QVERIFY(wav.open(QIODevice::WriteOnly));
    wav.write("RIFF....WAVE");
    wav.close();
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(NAVCAL_BINARY, arguments);
    QVERIFY(p.waitForStarted());
    QVERIFY(!p.waitForFinished(1500)); // it runs
    ::kill(pid_t(p.processId()), signalNumber);
    QVERIFY(p.waitForFinished(3000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
    // Nothing left behind in the runtime folder once it has ended.
    QVERIFY(!QFile::exists(m_home.filePath("navcal.lock")));
}

void TestBinary::singleCopyAndStaleLockUnderXvfb() {
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    if (xvfb.isEmpty() || QStandardPaths::findExecutable("xwininfo").isEmpty() ||
        QStandardPaths::findExecutable("xdpyinfo").isEmpty())
        QSKIP("Xvfb and xwininfo are needed (packages xvfb and x11-utils)");
    QString display;
    for (int n = 150; n < 250 && display.isEmpty(); ++n)
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) &&
            !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            display = QStringLiteral(":%1").arg(n);
    QProcess server;
    server.start(xvfb, {display, "-screen", "0", "1024x768x24", "-dpi", "96", "-nolisten", "tcp",
                        "-noreset"});
    QVERIFY(server.waitForStarted());
    auto stopServer = qScopeGuard([&] {
        server.terminate();
        server.waitForFinished(3000);
    });
    QElapsedTimer ready;
    ready.start();
    // The server is ready when a client can talk to it, not when its socket appears.
    bool serving = false;
    while (!serving && ready.elapsed() < 10000) {
        QProcess probe;
        probe.start("xdpyinfo", {"-display", display});
        serving = probe.waitForFinished(3000) && probe.exitCode() == 0;
        if (!serving)
            QTest::qWait(100);
    }
    QVERIFY2(serving, "Xvfb did not come up");

    QProcessEnvironment env = environment("xcb");
    env.insert("DISPLAY", display);

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(NAVCAL_BINARY, {"/s"});
    QVERIFY2(waitForWindow(display, 8000),
             qPrintable(QStringLiteral("state %1, exit %2: %3")
                            .arg(first.state())
                            .arg(first.exitCode())
                            .arg(QString::fromLocal8Bit(first.readAllStandardError()))));

    QProcess second;
    second.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    second.start(NAVCAL_BINARY, {"/s"});
    QVERIFY(second.waitForFinished(3000));
    QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);

    // A killed copy leaves its lock behind; the next copy must run all the same.
    first.kill();
    QVERIFY(first.waitForFinished(3000));
    QTest::qWait(200);
    QVERIFY(!windowShown(display));

    // Toolkit-style options are the saver's text, not the toolkit's.
    QProcess third;
    third.setProcessEnvironment(env);
    third.start(NAVCAL_BINARY, {"-display", "nowhere:0", "-geometry", "10x10"});
    QVERIFY2(waitForWindow(display, 8000),
             qPrintable(QStringLiteral("state %1, exit %2: %3")
                            .arg(third.state())
                            .arg(third.exitCode())
                            .arg(QString::fromLocal8Bit(third.readAllStandardError()))));
    QCOMPARE(third.state(), QProcess::Running);
    third.terminate();
    QVERIFY(third.waitForFinished(3000));
    QCOMPARE(third.exitCode(), 0);
}

QTEST_MAIN(TestBinary)
#include "tst_binary.moc"
