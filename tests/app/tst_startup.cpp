#include "app/BackgroundDecode.h"
#include "banner/Banner.h"
#include "design/Fonts.h"
#include "extras/ClockDisplay.h"
#include "panels/MonthPanels.h"
#include "panels/PanelTestKit.h"
#include "platform/DataFolders.h"
#include "support/Files.h"
#include "support/PipeRescuer.h"
#include "support/TestServices.h"

#include <QAccessible>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QScreen>
#include <QtTest>
#include <atomic>
#include <thread>
#ifdef Q_OS_WIN
#include <windows.h>
// windows.h first: psapi.h needs its types.
#include <psapi.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using namespace navcal;
using navcal::test::RecordingSink;
using navcal::test::TestWindow;
using navcal::test::writeFile;

namespace {

// Peak resident memory of this process in kilobytes.
long peakKilobytes() {
#ifdef Q_OS_WIN
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return long(counters.PeakWorkingSetSize / 1024);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#endif
}

QByteArray jpegBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

// A JPEG whose header claims width x height but whose data is a few bytes:
// the start-of-frame size fields of a small real JPEG are rewritten.
QByteArray jpegBomb(int width, int height) {
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(Qt::red);
    QByteArray bytes = jpegBytes(small);
    for (int i = 0; i + 8 < bytes.size(); ++i) {
        const auto marker = uchar(bytes[i + 1]);
        if (uchar(bytes[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            bytes[i + 5] = char(height >> 8);
            bytes[i + 6] = char(height & 0xFF);
            bytes[i + 7] = char(width >> 8);
            bytes[i + 8] = char(width & 0xFF);
            return bytes;
        }
    }
    return {};
}

} // namespace

// The stored seascape at the window's size: its sky is blue.
static bool showsSeascape(app::CalendarWindow& form) {
    const QImage& picture = test::Parts(form).background->picture();
    if (picture.size() != form.size() * form.devicePixelRatio())
        return false;
    const QColor sky = picture.pixelColor(5, 5);
    return sky.blue() > sky.red() + 40 && sky.blue() > sky.green();
}

class TestStartup : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { design::installFontSubstitutes(); }
    void placedOnTheScreen_data();
    void placedOnTheScreen();
    void fontsAsDesigned_data();
    void fontsAsDesigned();
    void movedToAnotherScreen_data();
    void movedToAnotherScreen();
    void badBackgroundFallsBack_data();
    void badBackgroundFallsBack();
    void userFolderFirstForEachFile_data();
    void userFolderFirstForEachFile();
    void decompressionBombIsCheap();
    void onlyPhotoFormats_data();
    void onlyPhotoFormats();
    void linkSwappedWithPipeNeverBlocks();
    void largePhotoShownReduced();
    void noUserFolderWithoutAbsoluteHome_data();
    void noUserFolderWithoutAbsoluteHome();
    void dpiHeldToSaneRange();
};

using Places = QList<std::tuple<int, int, QPoint>>; // month, day cell, its place in pixels

void TestStartup::placedOnTheScreen_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QPointF>("offset"); // of every label, in twips
    QTest::addColumn<Places>("places");  // a few cells' places in pixels
    QTest::newRow("1024x768") << QSize(1024, 768) << 1.0 << QPointF(0, 0)
                              << Places{{1, 7, {64, 104}}, {12, 35, {1000, 584}}};
    QTest::newRow("800x600") << QSize(800, 600) << 0.78125 << QPointF(0, 0)
                             << Places{{1, 7, {50, 81}}, {12, 35, {781, 456}}};
    QTest::newRow("1280x1024") << QSize(1280, 1024) << 1.25 << QPointF(0, 384)
                               << Places{{1, 7, {80, 162}}, {12, 35, {1250, 762}}};
    QTest::newRow("1365 pixels, half twips")
        << QSize(1365, 768) << 1.0 << QPointF(2557.5, 0) << Places{{1, 7, {235, 104}}};
    QTest::newRow("1920x1080") << QSize(1920, 1080) << 1.40625 << QPointF(2560, 0)
                               << Places{{1, 7, {330, 146}}, {12, 35, {1646, 821}}};
    QTest::newRow("3840x2160") << QSize(3840, 2160) << 2.8125 << QPointF(2560, 0)
                               << Places{{8, 14, {3090, 1215}}};
}

// The arrangement is scaled to fill the screen and centred: every label moves
// by the same offset in the design's twips (halves too), and none is cut off.
void TestStartup::placedOnTheScreen() {
    QFETCH(QSize, screen);
    QFETCH(double, factor);
    QFETCH(QPointF, offset);
    QFETCH(Places, places);
    TestWindow w(QDate(2026, 12, 7), screen);
    app::CalendarWindow& form = w.shown();
    if (!qFuzzyCompare(form.screen()->logicalDotsPerInchX(), 96.0))
        QSKIP("the offscreen screen is not at 96 dpi");
    // None is cut off: every static text a screen reader finds is on the screen.
    const std::function<void(QAccessibleInterface*)> onScreen = [&](QAccessibleInterface* node) {
        if (node->role() == QAccessible::StaticText)
            QVERIFY2(form.rect().contains(node->rect()), qPrintable(node->text(QAccessible::Name)));
        for (int i = 0; i < node->childCount(); ++i)
            onScreen(node->child(i));
    };
    onScreen(QAccessible::queryAccessibleInterface(&form));
    const test::Parts r(form);
    for (const auto& [month, cell, pixels] : places)
        QCOMPARE(r.month(month)->partPixels(8 + cell).topLeft(), pixels);
    QCOMPARE(form.geometry(), QRect(QPoint(0, 0), screen));

    // The eight controls placed on their own: centred on the screen (to a
    // pixel), the title line and the credit on their stored lines, the clock
    // on September's Tuesday line and the date on its Friday's, the seagull
    // just above February's title, the flag on February's Tuesday line, the
    // ship standing on October's title line.
    for (const QWidget* control : std::initializer_list<const QWidget*>{
             r.credit, r.siteAddress, r.title, r.clock, r.dateLine, r.seagull, r.ship, r.flag})
        QVERIFY2(qAbs(control->geometry().center().x() * 2 + 1 - screen.width()) <= 2,
                 qPrintable(control->objectName()));
    QCOMPARE(r.month(1)->box(0).left, float(1080 + offset.x())); // January's title
    QCOMPARE(r.credit->top(), float(120 + offset.y()));
    QCOMPARE(r.title->top(), float(3840 + offset.y()));
    QCOMPARE(r.clock->geometry().top(), r.month(9)->partPixels(1 + 1).top());
    QCOMPARE(r.dateLine->geometry().top(), r.month(9)->partPixels(1 + 4).top());
    QVERIFY(r.seagull->geometry().top() < r.month(2)->partPixels(0).top());
    QVERIFY(r.seagull->geometry().bottom() > r.month(2)->partPixels(0).top());
    QCOMPARE(r.flag->geometry().top(), r.month(2)->partPixels(1 + 1).top());
    QVERIFY(qAbs(r.ship->geometry().bottom() + 1 - r.month(10)->partPixels(0).top()) <= 1);
    // Images show their pictures at the arrangement's scale.
    QCOMPARE(r.ship->size(), QSize(qRound(91 * factor), qRound(71 * factor)));
}

void TestStartup::fontsAsDesigned_data() {
    QTest::addColumn<QString>("face");
    QTest::addColumn<double>("points"); // at the design's size, 1024x768
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    // As the stored design writes them; the row says which control.
    QTest::newRow("credit") << "Times New Roman" << 18.0 << true << true;
    QTest::newRow("site address") << "Times New Roman" << 12.0 << true << false;
    QTest::newRow("title line") << "Times New Roman" << 27.75 << true << true;
    QTest::newRow("clock") << "Times New Roman" << 24.0 << true << false;
    QTest::newRow("date line") << "Times New Roman" << 27.75 << true << true;
    QTest::newRow("banner") << "Times New Roman" << 20.25 << true << false;
    QTest::newRow("January's title") << "MS Sans Serif" << 8.25 << true << false;
    QTest::newRow("a day cell") << "MS Sans Serif" << 8.25 << true << false;
}

// Text is set in the design's font at the scaled size, not drawn as a scaled
// bitmap: on the design's screen and on one 2.8 times as large.
void TestStartup::fontsAsDesigned() {
    QFETCH(QString, face);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    const QString control = QString::fromUtf8(QTest::currentDataTag());
    for (const auto& [screen, factor] :
         {std::pair{QSize(1024, 768), 1.0}, std::pair{QSize(3840, 2160), 2.8125}}) {
        TestWindow w(QDate(2026, 12, 7), screen);
        app::CalendarWindow& form = w.shown();
        const test::Parts r(form);
        const QHash<QString, QFont> fonts = {
            {"credit", r.credit->font()},
            {"site address", r.siteAddress->font()},
            {"title line", r.title->font()},
            {"clock", r.clock->font()},
            {"date line", r.dateLine->font()},
            {"banner", r.banner->font()},
            {"January's title", r.month(1)->partFont(0)},
            {"a day cell", r.month(1)->partFont(8 + 7)},
        };
        QVERIFY(fonts.contains(control));
        const QFont font = fonts.value(control);
        QCOMPARE(font.family(), face);
        QCOMPARE(font.pointSizeF(), points * factor);
        QCOMPARE(font.bold(), bold);
        QCOMPARE(font.italic(), italic);
    }
}

void TestStartup::movedToAnotherScreen_data() {
    QTest::addColumn<QSize>("from");
    QTest::addColumn<QSize>("to");
    // The background held: the stored seascape (1680x1260) whole on a screen
    // wider than it, else stretched to the screen's pixels.
    QTest::addColumn<QSize>("picture");
    QTest::newRow("larger") << QSize(1024, 768) << QSize(1920, 1080) << QSize(1680, 1260);
    QTest::newRow("smaller") << QSize(1920, 1080) << QSize(800, 600) << QSize(800, 600);
    QTest::newRow("half twips") << QSize(1280, 1024) << QSize(1365, 768) << QSize(1365, 768);
}

// A window moved to another screen while running looks as one started there,
// and what the user moved stays where it was in the arrangement.
void TestStartup::movedToAnotherScreen() {
    QFETCH(QSize, from);
    QFETCH(QSize, to);
    QFETCH(QSize, picture);
    TestWindow moved(QDate(2026, 12, 7), from);
    app::CalendarWindow& form = moved.shown();
    widgets::ImageControl* ship = test::Parts(form).ship;
    const design::TwipBox& anchor = test::monthView(form, 10)->box(0);
    ship->moveTwips(ship->left() - 1000, ship->top() + 500);
    const QPointF shipFromAnchor(ship->left() - anchor.left, ship->top() - anchor.top);
    form.fitToScreen(QRect(QPoint(0, 0), to));

    TestWindow started(QDate(2026, 12, 7), to);
    app::CalendarWindow& fresh = started.shown();
    const design::TwipBox& freshAnchor = test::monthView(fresh, 10)->box(0);
    test::Parts(fresh).ship->moveTwips(freshAnchor.left + float(shipFromAnchor.x()),
                                       freshAnchor.top + float(shipFromAnchor.y()));
    QCOMPARE(form.geometry(), fresh.geometry());
    // Both filled, their clocks showing the time, their banners placed by a beat.
    const test::Parts mineParts(form), theirParts(fresh);
    QTRY_VERIFY_WITH_TIMEOUT(test::filled(moved) && test::filled(started) &&
                                 !mineParts.clock->text().isEmpty() &&
                                 !theirParts.clock->text().isEmpty(),
                             10000);
    QTRY_COMPARE(mineParts.banner->geometry(), theirParts.banner->geometry());
    // The picture for the new size is decoded on a thread and comes later.
    // Not compared with the fresh window's: started full screen on the test's
    // smaller screen and then put back at its own size, that one holds a copy
    // shrunk on the way.
    QTRY_COMPARE(test::Parts(form).background->picture().size(), picture);
    const QList<QWidget*> mine = form.findChildren<QWidget*>(),
                          theirs = fresh.findChildren<QWidget*>();
    QCOMPARE(mine.size(), theirs.size());
    for (qsizetype i = 0; i < mine.size(); ++i) {
        QCOMPARE(mine[i]->objectName(), theirs[i]->objectName());
        QCOMPARE(mine[i]->geometry(), theirs[i]->geometry());
        QCOMPARE(mine[i]->font(), theirs[i]->font());
        // The pictures drawn as crisply: from their larger renderings when
        // drawn larger than the design's.
        if (const auto* image = qobject_cast<const widgets::ImageControl*>(mine[i]))
            QVERIFY2(image->picture().toImage() ==
                         qobject_cast<const widgets::ImageControl*>(theirs[i])->picture().toImage(),
                     qPrintable(image->objectName()));
    }
    for (int month = 1; month <= 12; ++month) {
        const panels::MonthView* a = test::monthView(form, month);
        const panels::MonthView* b = test::monthView(fresh, month);
        for (int i = 0; i < panels::MonthView::kParts; ++i) {
            QCOMPARE(a->partPixels(i), b->partPixels(i));
            QCOMPARE(a->partFont(i), b->partFont(i));
        }
    }
}

void TestStartup::badBackgroundFallsBack_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("empty") << "empty";
    QTest::newRow("truncated") << "truncated";
    QTest::newRow("truncated PNG under the name") << "truncated png";
    QTest::newRow("random bytes") << "random";
    QTest::newRow("a directory") << "directory";
#ifdef Q_OS_UNIX
    QTest::newRow("a named pipe") << "fifo";
    QTest::newRow("a link to a device") << "device";
    QTest::newRow("a dangling link") << "dangling";
#endif
}

void TestStartup::badBackgroundFallsBack() {
    QFETCH(QString, kind);
    TestWindow w;
    const QString path = w.folder.filePath("1.jpg");
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::magenta);
    const QByteArray good = jpegBytes(picture);
    if (kind == "empty")
        QVERIFY(writeFile(path, {}));
    else if (kind == "truncated")
        QVERIFY(writeFile(path, good.left(good.size() / 3)));
    else if (kind == "truncated png") {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        QVERIFY(writeFile(path, png.left(png.size() / 2)));
    } else if (kind == "random") {
        QByteArray noise(5000, 0);
        for (char& b : noise)
            b = char(QRandomGenerator::global()->bounded(256));
        QVERIFY(writeFile(path, noise));
    } else if (kind == "directory")
        QVERIFY(QDir(w.folder.path()).mkdir("1.jpg"));
#ifdef Q_OS_UNIX
    else if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
    else if (kind == "device")
        QVERIFY(QFile::link("/dev/zero", path));
    else if (kind == "dangling")
        QVERIFY(QFile::link(w.folder.filePath("nowhere.jpg"), path));

    // A wait this long is a read stuck on the file, not a busy machine.
    QElapsedTimer timer;
    timer.start();
    app::CalendarWindow& form = w.shown();
    QVERIFY(timer.elapsed() < 8000);
    // The stored seascape stays, not the magenta test picture.
    QVERIFY(showsSeascape(form));
}

// A readable picture replaces the seascape; the user's folder comes first,
// file by file, and a broken picture there falls back to the seascape.
void TestStartup::userFolderFirstForEachFile_data() {
    QTest::addColumn<QString>("userPicture"); // "", "green" or "cut" (the green one cut short)
    QTest::addColumn<bool>("userMusic");
    QTest::addColumn<QString>("shown");       // "green", "red" (the Windows folder's) or "sea"
    QTest::addColumn<QString>("musicFolder"); // "user" or "windows"
    QTest::newRow("user's picture, system's music") << "green" << false << "green"
                                                    << "windows";
    QTest::newRow("system's picture, user's music") << "" << true << "red"
                                                    << "user";
    QTest::newRow("a broken picture of the user's") << "cut" << false << "sea"
                                                    << "windows";
}

void TestStartup::userFolderFirstForEachFile() {
    QFETCH(QString, userPicture);
    QFETCH(bool, userMusic);
    QFETCH(QString, shown);
    QFETCH(QString, musicFolder);
    TestWindow w;
    QTemporaryDir user;
    w.services.userFolder = user.path();
    QImage red(64, 48, QImage::Format_RGB32);
    red.fill(QColor(200, 0, 0));
    QImage green(64, 48, QImage::Format_RGB32);
    green.fill(QColor(0, 200, 0));
    QVERIFY(writeFile(w.folder.filePath("1.jpg"), jpegBytes(red)));
    // A tune the user's would follow within one folder: the folder decides.
    QVERIFY(writeFile(w.folder.filePath("muzz.mid"), "MThd"));
    const QByteArray greenBytes = jpegBytes(green);
    if (!userPicture.isEmpty())
        QVERIFY(writeFile(user.filePath("1.jpg"),
                          userPicture == "cut" ? greenBytes.left(200) : greenBytes));
    if (userMusic)
        QVERIFY(writeFile(user.filePath("muzz.wav"), "RIFF"));
    app::CalendarWindow& form = w.shown();
    if (shown == "sea") {
        QVERIFY(showsSeascape(form));
    } else {
        const QImage& picture = test::Parts(form).background->picture();
        QCOMPARE(picture.size(), QSize(64, 48));
        const QColor colour = picture.pixelColor(10, 10);
        QVERIFY2(shown == "green" ? colour.green() > 150 && colour.red() < 50
                                  : colour.red() > 150 && colour.green() < 50,
                 qPrintable(colour.name()));
    }
    const QString tune =
        musicFolder == "user" ? user.filePath("muzz.wav") : w.folder.filePath("muzz.mid");
    QCOMPARE(w.sink.commands, QStringList{RecordingSink::playText(QDir::toNativeSeparators(tune))});
}

// A header claiming 30000 x 30000 costs at most a screen-sized decode.
void TestStartup::decompressionBombIsCheap() {
    TestWindow w;
    const QByteArray bomb = jpegBomb(30000, 30000);
    QVERIFY(!bomb.isEmpty());
    QVERIFY(bomb.size() < 10 * 1024);
    QVERIFY(writeFile(w.folder.filePath("1.jpg"), bomb));
    const long before = peakKilobytes();
    app::CalendarWindow& form = w.shown();
    QVERIFY2(peakKilobytes() - before < 100 * 1024,
             qPrintable(QString::number(peakKilobytes() - before)));
    const QSize shown = test::Parts(form).background->picture().size();
    QVERIFY2(qint64(shown.width()) * shown.height() <= 1024 * 768 || shown == QSize(1680, 1260),
             qPrintable(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height())));
    // Past what an eighth-size decode can bound, it is refused.
    QVERIFY(writeFile(w.folder.filePath("huge.jpg"), jpegBomb(65000, 65000)));
    QVERIFY(!app::loadBackgroundPicture(w.folder.filePath("huge.jpg")));
}

void TestStartup::onlyPhotoFormats_data() {
    QTest::addColumn<QByteArray>("format"); // how the picture is written
    QTest::addColumn<bool>("shown");
    QTest::newRow("PNG under the .jpg name") << QByteArray("PNG") << true;
    QTest::newRow("BMP") << QByteArray("BMP") << true;
    QTest::newRow("icon") << QByteArray("ICO") << false;
    QTest::newRow("SVG naming a pipe") << QByteArray("SVG") << false;
}

// A vector picture could name other files, pipes among them: never decoded.
void TestStartup::onlyPhotoFormats() {
    QFETCH(QByteArray, format);
    QFETCH(bool, shown);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("1.jpg");
    const QString pipe = dir.filePath("pipe");
#ifdef Q_OS_UNIX
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
#endif
    if (format == "SVG") {
        QVERIFY(
            writeFile(path, QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' "
                                           "xmlns:xlink='http://www.w3.org/1999/xlink' width='40' "
                                           "height='30'><image xlink:href='%1' width='40' "
                                           "height='30'/></svg>")
                                .arg(pipe)
                                .toUtf8()));
    } else {
        QImage blue(40, 30, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        QVERIFY(blue.save(path, format.constData()));
    }
    const test::PipeRescuer rescuer(QFile::encodeName(pipe));
    QElapsedTimer timer;
    timer.start();
    const auto picture = app::loadBackgroundPicture(path);
    QVERIFY2(timer.elapsed() < test::PipeRescuer::kStuckMs,
             qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(picture.has_value(), shown);
    if (shown)
        QCOMPARE(picture->size(), QSize(40, 30));
}

// The name is looked at once: a link swapped between a photo and a pipe
// gives the photo or nothing, never a wait for a writer.
void TestStartup::linkSwappedWithPipeNeverBlocks() {
#ifndef Q_OS_UNIX
    QSKIP("named pipes and symbolic links of the POSIX file system");
#else
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QImage photo(64, 48, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    QVERIFY(writeFile(dir.filePath("photo.jpg"), jpegBytes(photo)));
    const QByteArray pipe = QFile::encodeName(dir.filePath("pipe"));
    QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
    const QByteArray link = QFile::encodeName(dir.filePath("1.jpg"));
    const QByteArray next = QFile::encodeName(dir.filePath("next"));

    std::atomic<bool> stop{false};
    std::thread swapper([&] {
        for (bool toPipe = false; !stop; toPipe = !toPipe) {
            ::unlink(next.constData());
            if (::symlink(toPipe ? pipe.constData() : "photo.jpg", next.constData()) == 0)
                ::rename(next.constData(), link.constData());
        }
    });
    const test::PipeRescuer rescuer(pipe);
    int shown = 0;
    qint64 slowest = 0;
    QElapsedTimer running;
    running.start();
    while (running.elapsed() < 3000 && slowest < test::PipeRescuer::kStuckMs) {
        QElapsedTimer timer;
        timer.start();
        const auto picture = app::loadBackgroundPicture(QFile::decodeName(link));
        slowest = std::max(slowest, timer.elapsed());
        if (picture) {
            QCOMPARE(picture->size(), QSize(64, 48));
            ++shown;
        }
    }
    stop = true;
    swapper.join();
    QVERIFY2(slowest < test::PipeRescuer::kStuckMs, qPrintable(QString::number(slowest)));
    QVERIFY(shown > 0);
#endif
}

// A photo above the screen's size is decoded smaller, its proportions kept.
void TestStartup::largePhotoShownReduced() {
    TestWindow w(QDate(2026, 12, 7), QSize(800, 600));
    QImage photo(4000, 3000, QImage::Format_Grayscale8);
    photo.fill(200);
    QVERIFY(writeFile(w.folder.filePath("1.jpg"), jpegBytes(photo)));
    app::CalendarWindow& form = w.shown();
    const QSize shown = test::Parts(form).background->picture().size();
    QVERIFY2(qint64(shown.width()) * shown.height() <= 800 * 600 && shown.width() >= 780 &&
                 qAbs(shown.width() * 3 - shown.height() * 4) <= 8,
             qPrintable(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height())));
}

void TestStartup::noUserFolderWithoutAbsoluteHome_data() {
    QTest::addColumn<QByteArray>("home"); // "-": unset
    QTest::addColumn<bool>("folder");
    QTest::newRow("absolute") << QByteArray("/home/sailor") << true;
    QTest::newRow("relative") << QByteArray("sailor") << false;
    QTest::newRow("unset") << QByteArray("-") << false;
}

void TestStartup::noUserFolderWithoutAbsoluteHome() {
    QFETCH(QByteArray, home);
    QFETCH(bool, folder);
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedData = qgetenv("XDG_DATA_HOME");
    auto restore = qScopeGuard([&] {
        qputenv("HOME", savedHome);
        qputenv("XDG_DATA_HOME", savedData);
    });
    qunsetenv("XDG_DATA_HOME");
    if (home == "-")
        qunsetenv("HOME");
    else
        qputenv("HOME", home);
#ifdef Q_OS_WIN
    // The system's own Windows folder, whatever HOME says.
    QCOMPARE(platform::systemDataFolder(),
             QDir::fromNativeSeparators(qEnvironmentVariable("SystemRoot")));
    return;
#endif
    QCOMPARE(platform::userDataFolder(),
             folder ? QString::fromUtf8(home + "/.local/share/navcal") : QString());
    QCOMPARE(platform::systemDataFolder(), QString());
    if (folder)
        return;
    // The window reads nothing then, not even the working folder's files.
    TestWindow w;
    w.services.userFolder = platform::userDataFolder();
    w.services.systemFolder = platform::systemDataFolder();
    QImage green(64, 48, QImage::Format_RGB32);
    green.fill(Qt::green);
    QVERIFY(writeFile(w.folder.filePath("1.jpg"), jpegBytes(green)));
    QVERIFY(writeFile(w.folder.filePath("muzz.wav"), "RIFF"));
    const QString savedCwd = QDir::currentPath();
    auto back = qScopeGuard([&] { QDir::setCurrent(savedCwd); });
    QVERIFY(QDir::setCurrent(w.folder.path()));
    app::CalendarWindow& form = w.shown();
    QVERIFY(showsSeascape(form));
    QVERIFY(w.sink.commands.isEmpty());
}

void TestStartup::dpiHeldToSaneRange() {
    QCOMPARE(app::twipsPerPixelForDpi(96), 15.0);
    // Held to 960 dpi at most and 24 at least.
    QCOMPARE(app::twipsPerPixelForDpi(2147483647.0), 1.5);
    QCOMPARE(app::twipsPerPixelForDpi(1), 60.0);
    QCOMPARE(app::twipsPerPixelForDpi(std::nan("")), 15.0);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
