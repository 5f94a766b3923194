#include "app/ConfigureNotice.h"
#include "app/ScreenCovers.h"
#include "design/Fonts.h"
#include "platform/SingleInstance.h"
#include "support/DrawnLabels.h"
#include "support/Files.h"
#include "support/TestServices.h"

#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace navcal;
using navcal::test::RecordingSink;
using navcal::test::TestWindow;

namespace {

QString musicPath(TestWindow& w) {
    return QDir::toNativeSeparators(QDir(w.folder.path()).filePath("muzz.wav"));
}

// A started, shown window, with or without a music file, its start-up
// commands forgotten.
app::CalendarWindow& runningWindow(TestWindow& w, bool music) {
    if (music && !navcal::test::writeFile(musicPath(w), "RIFF"))
        QTest::qFail("the music file cannot be written", __FILE__, __LINE__);
    app::CalendarWindow& form = w.shown();
    w.sink.commands.clear();
    return form;
}

} // namespace

class TestShutdown : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { design::installFontSubstitutes(); }
    void characterKeyEnds_data();
    void characterKeyEnds();
    void keysWithoutCharacterDoNothing_data();
    void keysWithoutCharacterDoNothing();
    void mouseOnlyEndsOnTheBackground();
    void clickOnAnotherMonitorsCoverEnds();
    void systemCloseGoesThroughUnload();
    void configureNotice();
};

void TestShutdown::characterKeyEnds_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("music");
    QTest::addColumn<bool>("drawn"); // the first frame drawn before the key
    QTest::newRow("letter") << int(Qt::Key_A) << true << true;
    QTest::newRow("digit") << int(Qt::Key_5) << true << true;
    QTest::newRow("space") << int(Qt::Key_Space) << true << true;
    QTest::newRow("Enter") << int(Qt::Key_Return) << true << true;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << true << true;
    QTest::newRow("letter without music") << int(Qt::Key_A) << false << true;
    QTest::newRow("letter before the first frame") << int(Qt::Key_A) << true << false;
}

// The stop command goes out once as the saver ends; without music nothing is
// sent at all, nor when the end came before the music's start, which then
// never comes (it waits a second at most for the first frame). The lock is
// let go then, before the program has gone.
void TestShutdown::characterKeyEnds() {
    QFETCH(int, key);
    QFETCH(bool, music);
    QFETCH(bool, drawn);
    TestWindow w;
    QTemporaryDir lockFolder;
    platform::SingleInstance lock(lockFolder.path());
    QVERIFY(lock.acquire());
    w.services.lock = &lock;
    if (!drawn)
        QVERIFY(navcal::test::writeFile(musicPath(w), "RIFF"));
    app::CalendarWindow& form = drawn ? runningWindow(w, music) : w.make();
    if (!drawn)
        w.saver->runFullScreen(); // no event handled yet: no frame drawn
    QVERIFY(form.isVisible());
    QTest::keyClick(&form, Qt::Key(key));
    if (!drawn)
        QTest::qWait(1500);
    const QString stop = RecordingSink::stopText(musicPath(w));
    const QStringList expected = music && drawn ? QStringList{stop} : QStringList{};
    QCOMPARE(w.sink.commands, expected);
    QVERIFY(!form.isVisible());
    QCOMPARE(w.endCodes, std::vector<int>{0});
    QCOMPARE(platform::SingleCopyLock().acquireIn(lockFolder.path()),
             platform::SingleCopyLock::Result::Acquired);
}

void TestShutdown::keysWithoutCharacterDoNothing_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("arrow") << int(Qt::Key_Left);
    QTest::newRow("F1") << int(Qt::Key_F1);
    QTest::newRow("Shift alone") << int(Qt::Key_Shift);
    QTest::newRow("Ctrl alone") << int(Qt::Key_Control);
    QTest::newRow("Alt alone") << int(Qt::Key_Alt);
}

void TestShutdown::keysWithoutCharacterDoNothing() {
    QFETCH(int, key);
    TestWindow w;
    app::CalendarWindow& form = runningWindow(w, true);
    QVERIFY(form.isVisible());
    QTest::keyClick(&form, Qt::Key(key));
    QVERIFY(form.isVisible());
    QVERIFY(w.sink.commands.isEmpty());
    QVERIFY(w.endCodes.empty());
}

void TestShutdown::mouseOnlyEndsOnTheBackground() {
    TestWindow w;
    app::CalendarWindow& form = runningWindow(w, true);
    QVERIFY(form.isVisible());

    // Clicks go in through the window, to whatever is drawn where they land.
    QWindow* window = form.windowHandle();
    QTest::mouseMove(window, QPoint(500, 500));
    QTest::mouseMove(window, QPoint(10, 740));
    // Labels without a handler of their own: a day cell, a header, the credit line.
    const test::Parts roles(form);
    for (const QRect& label : {roles.month(1)->partPixels(8 + 8), roles.month(1)->partPixels(1 + 0),
                               roles.credit->geometry(), roles.month(9)->partPixels(8 + 20)})
        QTest::mouseClick(window, Qt::LeftButton, {}, label.topLeft() + QPoint(2, 2));
    QVERIFY(form.isVisible());
    QVERIFY(w.sink.commands.isEmpty());

    // A right click on the background is not the click that ends the saver.
    QTest::mouseClick(window, Qt::RightButton, {}, QPoint(5, 760));
    QVERIFY(form.isVisible());

    // Between two day cells of a panel lies the background too: just right
    // of January's first cell, level with it.
    const QRect first = roles.month(1)->partPixels(8 + 0);
    const QPoint between(first.right() + 3, first.center().y());
    QVERIFY(!form.childAt(between));
    QTest::mouseClick(window, Qt::LeftButton, {}, between);
    QVERIFY(!form.isVisible());
    QCOMPARE(w.sink.commands.size(), 1);
    QCOMPARE(w.endCodes, std::vector<int>{0});
}

// The cover of another monitor ends the saver on a left click, as the
// calendar's background does; a right click and a press carried in from
// elsewhere do not.
void TestShutdown::clickOnAnotherMonitorsCoverEnds() {
    int ended = 0;
    app::ScreenCover cover(QGuiApplication::primaryScreen(), QImage(), [&ended] { ++ended; });
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    QTest::mouseClick(&cover, Qt::RightButton, {}, QPoint(40, 40));
    QTest::mouseRelease(&cover, Qt::LeftButton, {}, QPoint(40, 40));
    QCOMPARE(ended, 0);
    QTest::mouseClick(&cover, Qt::LeftButton, {}, QPoint(40, 40));
    QCOMPARE(ended, 1);
}

void TestShutdown::systemCloseGoesThroughUnload() {
    TestWindow w;
    app::CalendarWindow& form = runningWindow(w, true);
    form.close(); // what a window manager close or a termination signal does
    const QStringList once = {RecordingSink::stopText(musicPath(w))};
    QCOMPARE(w.sink.commands, once);
    QCOMPARE(w.endCodes, std::vector<int>{0});
}

void TestShutdown::configureNotice() {
    bool seen = false;
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("Конфигурации не требуется!"));
        QCOMPARE(box->windowTitle(), QStringLiteral("Военно-морской календарь"));
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->standardButton(box->buttons().first()), QMessageBox::Ok);
        seen = true;
        box->button(QMessageBox::Ok)->click();
    });
    app::showConfigureNotice();
    QVERIFY(seen);
}

QTEST_MAIN(TestShutdown)
#include "tst_shutdown.moc"
