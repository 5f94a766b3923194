#include "app/CommandLine.h"

#include <QtTest>

using namespace navcal::app;
Q_DECLARE_METATYPE(navcal::app::LaunchMode)

class TestCommandLine : public QObject {
    Q_OBJECT
  private slots:
    void decide_data();
    void decide();
    void argumentsJoin();
    void handle_data();
    void handle();
};

void TestCommandLine::decide_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<LaunchMode>("mode");
    const auto run = LaunchMode::Run;
    const auto configure = LaunchMode::Configure;
    const auto preview = LaunchMode::Preview;
    QTest::newRow("empty") << "" << run;
    QTest::newRow("blanks only") << "   " << run;
    QTest::newRow("/s") << "/s" << run;
    QTest::newRow("-s") << "-s" << run;
    QTest::newRow("/c") << "/c" << configure;
    QTest::newRow("/C") << "/C" << configure;
    QTest::newRow("/c with blanks") << " /c " << configure;
    QTest::newRow("/c:1234 from the settings dialog") << "/c:1234" << configure;
    QTest::newRow("/c 1234") << "/c 1234" << configure;
    QTest::newRow("-c") << "-c" << configure;
    QTest::newRow("-C:42") << "-C:42" << configure;
    QTest::newRow("/config is other text") << "/config" << run;
    QTest::newRow("/c1 is other text") << "/c1" << run;
    QTest::newRow("/p alone") << "/p" << preview;
    QTest::newRow("/p 123") << "/p 123" << preview;
    QTest::newRow("/p123") << "/p123" << preview;
    QTest::newRow("/preview") << "/preview" << preview;
    QTest::newRow("-p 123") << "-p 123" << preview;
    QTest::newRow("-p:77") << "-p:77" << preview;
    QTest::newRow("-p") << "-p" << preview;
    QTest::newRow("-platform junk runs") << "-platform junk" << run;
    QTest::newRow("-display x runs") << "-display x" << run;
    QTest::newRow("-geometry 10x10 runs") << "-geometry 10x10" << run;
    QTest::newRow("a file name") << "picture.jpg" << run;
    QTest::newRow("/x") << "/x" << run;
}

void TestCommandLine::decide() {
    QFETCH(QString, text);
    QFETCH(LaunchMode, mode);
    QCOMPARE(decideLaunchMode(text), mode);
}

void TestCommandLine::argumentsJoin() {
    QCOMPARE(commandText({"navcal"}), QString());
    QCOMPARE(decideLaunchMode(commandText({"navcal", "/p", "123"})), LaunchMode::Preview);
    QCOMPARE(decideLaunchMode(commandText({"navcal", "/c", "77"})), LaunchMode::Configure);
    QCOMPARE(decideLaunchMode(commandText({"navcal", "-platform", "junk"})), LaunchMode::Run);
}

void TestCommandLine::handle_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qlonglong>("handle"); // -1: none
    QTest::newRow("/p 1234") << "/p 1234" << 1234LL;
    QTest::newRow("/P:1234 with blanks") << "  /P:1234 " << 1234LL;
    QTest::newRow("-p 77") << "-p 77" << 77LL;
    QTest::newRow("/c:65538") << "/c:65538" << 65538LL;
    QTest::newRow("/c 9") << "/c 9" << 9LL;
    QTest::newRow("the largest handle") << "/p 4294967295" << 4294967295LL;
    QTest::newRow("/p alone") << "/p" << -1LL;
    QTest::newRow("/p: alone") << "/p:" << -1LL;
    QTest::newRow("/p 0") << "/p 0" << -1LL;
    QTest::newRow("/p 12x4") << "/p 12x4" << -1LL;
    QTest::newRow("/p -5") << "/p -5" << -1LL;
    QTest::newRow("/p 0x1f") << "/p 0x1f" << -1LL;
    QTest::newRow("/p 1 2") << "/p 1 2" << -1LL;
    QTest::newRow("33 bits") << "/p 4294967296" << -1LL;
    QTest::newRow("/s 1234") << "/s 1234" << -1LL;
    QTest::newRow("/preview 12") << "/preview 12" << -1LL;
}

void TestCommandLine::handle() {
    QFETCH(QString, text);
    QFETCH(qlonglong, handle);
    const std::optional<quint32> found = hostHandle(text);
    QCOMPARE(found.has_value(), handle >= 0);
    if (found)
        QCOMPARE(qlonglong(*found), handle);
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
