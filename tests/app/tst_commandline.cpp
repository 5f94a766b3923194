// The command line as the screensaver hosts write it, against the switch
// tables of the README.

#include "app/CommandLine.h"

#include <QtTest>

using namespace navcal::app;
Q_DECLARE_METATYPE(navcal::app::LaunchMode)

namespace {
// The systems with a host that lends its window, and with a settings dialog
// that asks for a preview in a window of its own.
#ifdef Q_OS_LINUX
constexpr bool kLendingHost = true;
#else
constexpr bool kLendingHost = false;
#endif
#ifdef Q_OS_WIN
constexpr bool kPreviewHost = true;
#else
constexpr bool kPreviewHost = false;
#endif
} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
  private slots:
    void settingsSwitches_data();
    void settingsSwitches();
    void lendingHostSwitches_data();
    void lendingHostSwitches();
};

void TestCommandLine::settingsSwitches_data() {
    QTest::addColumn<QString>("text"); // the arguments, separated by blanks
    QTest::addColumn<LaunchMode>("mode");
    QTest::addColumn<qlonglong>("handle"); // the window "/p" or "/c" names; -1: none
    const auto run = LaunchMode::Run;
    const auto configure = LaunchMode::Configure;
    const auto preview = LaunchMode::Preview;
    QTest::newRow("empty") << "" << run << -1LL;
    QTest::newRow("blanks only") << "   " << run << -1LL;
    QTest::newRow("/s") << "/s" << run << -1LL;
    QTest::newRow("-s") << "-s" << run << -1LL;
    QTest::newRow("/s 1234") << "/s 1234" << run << -1LL;
    QTest::newRow("/c") << "/c" << configure << -1LL;
    QTest::newRow("/C") << "/C" << configure << -1LL;
    QTest::newRow("/c with blanks") << " /c " << configure << -1LL;
    QTest::newRow("/c:1234 from the settings dialog") << "/c:1234" << configure << 1234LL;
    QTest::newRow("/c 9") << "/c 9" << configure << 9LL;
    QTest::newRow("/c:65538") << "/c:65538" << configure << 65538LL;
    QTest::newRow("-c") << "-c" << configure << -1LL;
    QTest::newRow("-C:42") << "-C:42" << configure << 42LL;
    QTest::newRow("/config is other text") << "/config" << run << -1LL;
    QTest::newRow("/c1 is other text") << "/c1" << run << -1LL;
    QTest::newRow("/p alone") << "/p" << preview << -1LL;
    QTest::newRow("/p: alone") << "/p:" << preview << -1LL;
    QTest::newRow("/p 123") << "/p 123" << preview << 123LL;
    QTest::newRow("/P:1234 with blanks") << "  /P:1234 " << preview << 1234LL;
    QTest::newRow("/p123") << "/p123" << preview << 123LL;
    QTest::newRow("/preview") << "/preview" << preview << -1LL;
    QTest::newRow("/preview 12") << "/preview 12" << preview << -1LL;
    QTest::newRow("-p 123") << "-p 123" << preview << 123LL;
    QTest::newRow("-p:77") << "-p:77" << preview << 77LL;
    QTest::newRow("-p") << "-p" << preview << -1LL;
    QTest::newRow("the largest handle") << "/p 4294967295" << preview << 4294967295LL;
    QTest::newRow("33 bits") << "/p 4294967296" << preview << -1LL;
    QTest::newRow("/p 0") << "/p 0" << preview << -1LL;
    QTest::newRow("/p 12x4") << "/p 12x4" << preview << -1LL;
    QTest::newRow("/p -5") << "/p -5" << preview << -1LL;
    QTest::newRow("/p 0x1f") << "/p 0x1f" << preview << -1LL;
    QTest::newRow("/p 1 2") << "/p 1 2" << preview << -1LL;
    QTest::newRow("-platform junk runs") << "-platform junk" << run << -1LL;
    QTest::newRow("-display x runs") << "-display x" << run << -1LL;
    QTest::newRow("-geometry 10x10 runs") << "-geometry 10x10" << run << -1LL;
    QTest::newRow("a file name") << "picture.jpg" << run << -1LL;
    QTest::newRow("/x") << "/x" << run << -1LL;
}

// The settings' switches are read alike on every system; only Windows has
// a preview window to draw in.
void TestCommandLine::settingsSwitches() {
    QFETCH(QString, text);
    QFETCH(LaunchMode, mode);
    QFETCH(qlonglong, handle);
    const CommandLine line = readCommandLine(QStringList{"navcal"} + text.split(' '), {});
    if (mode == LaunchMode::Preview && kPreviewHost && handle >= 0) {
        QCOMPARE(line.mode, LaunchMode::Run);
        QVERIFY(line.hostWindow && line.hostWindow->error.isEmpty());
        QCOMPARE(qlonglong(line.hostWindow->window), handle);
        return;
    }
    QCOMPARE(line.mode, mode);
    QVERIFY(!line.hostWindow);
    QCOMPARE(line.noticeOwner.has_value(), mode == LaunchMode::Configure && handle >= 0);
    if (line.noticeOwner)
        QCOMPARE(qlonglong(*line.noticeOwner), handle);
}

void TestCommandLine::lendingHostSwitches_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("variable"); // "-" when unset
    QTest::addColumn<bool>("hosted");
    QTest::addColumn<uint>("window"); // 0: an error is expected
    QTest::newRow("Windows switch, no variable") << QStringList{"/s"} << "-" << false << 0u;
    QTest::newRow("-root, hex variable") << QStringList{"-root"} << "0x2A" << true << 42u;
    QTest::newRow("--window-id decimal")
        << QStringList{"--window-id", "123"} << "-" << true << 123u;
    QTest::newRow("switch wins over variable")
        << QStringList{"-window-id", "0x5"} << "9" << true << 5u;
    QTest::newRow("variable alone") << QStringList{} << " 77 " << true << 77u;
    QTest::newRow("variable over /c") << QStringList{"/c"} << "77" << true << 77u;
    QTest::newRow("-root without variable") << QStringList{"-root"} << "-" << true << 0u;
    QTest::newRow("id missing") << QStringList{"-window-id"} << "-" << true << 0u;
    QTest::newRow("id zero") << QStringList{"-window-id", "0"} << "-" << true << 0u;
    QTest::newRow("id junk") << QStringList{"-window-id", "0xZZ"} << "-" << true << 0u;
    QTest::newRow("id too large") << QStringList{"-window-id", "0x100000000"} << "-" << true << 0u;
}

// Where no host lends its window, its switches are text that runs.
void TestCommandLine::lendingHostSwitches() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, variable);
    QFETCH(bool, hosted);
    QFETCH(uint, window);
    QProcessEnvironment env;
    if (variable != "-")
        env.insert("XSCREENSAVER_WINDOW", variable);
    const CommandLine line = readCommandLine(QStringList{"navcal"} + arguments, env);
    QCOMPARE(line.hostWindow.has_value(), hosted && kLendingHost);
    if (!line.hostWindow) {
        QCOMPARE(line.mode,
                 arguments == QStringList{"/c"} ? LaunchMode::Configure : LaunchMode::Run);
        return;
    }
    QCOMPARE(line.mode, LaunchMode::Run);
    QCOMPARE(line.hostWindow->window, quint32(window));
    QCOMPARE(line.hostWindow->error.isEmpty(), window != 0);
    QVERIFY(!line.hostWindow->error.contains('\n'));
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
