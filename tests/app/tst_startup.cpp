#include "app/BackgroundPicture.h"
#include "layout/Fonts.h"
#include "panels/MonthPanels.h"
#include "support/TestServices.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QtTest>
#ifdef Q_OS_WIN
#include <windows.h>
// windows.h first: psapi.h needs its types.
#include <psapi.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using namespace navcal;
using navcal::test::TestWindow;

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

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { layout::installFontSubstitutes(); }
    void labelOffset_data();
    void labelOffset();
    void eightPlacements_data();
    void eightPlacements();
    void stateAfterLoad();
    void readableBackgroundReplacesTheSeascape();
    void badBackgroundFallsBack_data();
    void badBackgroundFallsBack();
    void decompressionBombIsCheap();
    void backgroundScaledOncePerSize();
};

using Places = QList<QPair<QString, QPoint>>;

void TestStartup::labelOffset_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QPointF>("offset");
    QTest::addColumn<Places>("places"); // a few labels' places in pixels
    QTest::newRow("1024x768") << QSize(1024, 768) << 1.0 << QPointF(0, 0)
                              << Places{{"Label10(7)", {64, 104}}, {"Label111(35)", {1000, 584}}};
    QTest::newRow("800x600") << QSize(800, 600) << 0.78125 << QPointF(0, 0)
                             << Places{{"Label10(7)", {50, 81}}, {"Label111(35)", {781, 456}}};
    QTest::newRow("640x480") << QSize(640, 480) << 0.625 << QPointF(0, 0)
                             << Places{{"Label10(7)", {40, 65}}, {"Label111(35)", {625, 365}}};
    QTest::newRow("1280x1024") << QSize(1280, 1024) << 1.25 << QPointF(0, 384)
                               << Places{{"Label10(7)", {80, 162}}, {"Label111(35)", {1250, 762}}};
    QTest::newRow("1365 pixels, half twips")
        << QSize(1365, 768) << 1.0 << QPointF(2557.5, 0) << Places{{"Label10(7)", {235, 104}}};
    QTest::newRow("1920x1080") << QSize(1920, 1080) << 1.40625 << QPointF(2560, 0)
                               << Places{{"Label10(7)", {330, 146}}, {"Label111(35)", {1646, 821}}};
    QTest::newRow("3840x2160") << QSize(3840, 2160) << 2.8125 << QPointF(2560, 0)
                               << Places{{"Label75(14)", {3090, 1215}}};
    QTest::newRow("5120x2880") << QSize(5120, 2880) << 3.75 << QPointF(2560, 0)
                               << Places{{"Label10(7)", {880, 390}},
                                         {"Label111(35)", {4390, 2190}}};
}

// The arrangement is scaled to fill the screen and centred: every label moves
// by the same offset in the design's twips (halves too), and none is cut off.
void TestStartup::labelOffset() {
    QFETCH(QSize, screen);
    QFETCH(double, factor);
    QFETCH(QPointF, offset);
    QFETCH(Places, places);
    TestWindow w(QDate(2026, 12, 7), screen);
    app::Form1& form = w.make();
    if (!qFuzzyCompare(form.twipsPerPixel(), 15.0))
        QSKIP("the offscreen screen is not at 96 dpi");
    QCOMPARE(form.scale().factor, factor);
    form.load();
    QCOMPARE(form.labelOffset(), offset);
    const QSet<QString> placed = {"Label1", "Label2", "Label112", "Label12", "Label114"};
    int moved = 0;
    for (const layout::StoredControl& control : layout::storedControls()) {
        if (control.kind != layout::ControlKind::Label)
            continue;
        auto* label = form.findChild<layout::TwipLabel*>(control.objectName());
        QVERIFY2(form.rect().contains(label->geometry()), qPrintable(control.objectName()));
        if (placed.contains(control.name))
            continue;
        QCOMPARE(label->left(), float(control.left + offset.x()));
        QCOMPARE(label->top(), float(control.top + offset.y()));
        ++moved;
    }
    QCOMPARE(moved, 546 - 5);
    for (const auto& [name, pixels] : places)
        QCOMPARE(form.findChild<layout::TwipLabel*>(name)->pos(), pixels);
    // Text is set at the scaled size, not drawn as a scaled bitmap.
    QCOMPARE(form.controls().cell("Label10", 7)->font().pointSizeF(), 8.25 * factor);
    QCOMPARE(form.geometry(), QRect(QPoint(0, 0), screen));
}

void TestStartup::eightPlacements_data() {
    labelOffset_data();
}

void TestStartup::eightPlacements() {
    QFETCH(QSize, screen);
    QFETCH(double, factor);
    QFETCH(QPointF, offset);
    TestWindow w(QDate(2026, 12, 7), screen);
    app::Form1& form = w.make();
    form.load();
    const layout::Controls& c = form.controls();
    const float sw = form.screenWidth();
    for (const char* name : {"Label1", "Label2", "Label112", "Label12", "Label114"}) {
        const layout::TwipLabel* label = c.label(name);
        QCOMPARE(label->left(), sw / 2 - label->twipWidth() / 2);
    }
    QCOMPARE(c.label("Label1")->top(), float(120 + offset.y()));
    QCOMPARE(c.label("Label112")->top(), float(3840 + offset.y()));
    // The clock stands on the line of September's Tuesday, the date on its Friday.
    QCOMPARE(c.label("Label12")->top(), c.label("Label82")->top());
    QCOMPARE(c.label("Label114")->top(), c.label("Label79")->top());
    for (const char* name : {"Image1", "Image2", "Image3"}) {
        const layout::ImageControl* image = c.image(name);
        QCOMPARE(image->left(), sw / 2 - image->twipWidth() / 2);
    }
    QCOMPARE(c.image("Image1")->top(), c.label("Label21")->top() - 25);
    QCOMPARE(c.image("Image3")->top(), c.label("Label18")->top());
    QCOMPARE(c.image("Image2")->top(), c.label("Label85")->top() - c.image("Image2")->twipHeight());
    // Images show their pictures at the arrangement's scale.
    QCOMPARE(c.image("Image2")->size(), QSize(qRound(91 * factor), qRound(71 * factor)));
}

void TestStartup::stateAfterLoad() {
    TestWindow w(QDate(2027, 3, 9));
    app::Form1& form = w.make();
    form.load();
    QCOMPARE(form.TodayDate, QDate(2027, 3, 9));
    QCOMPARE(w.random.seeds.size(), size_t(1));
    for (int month = 1; month <= 12; ++month) {
        QCOMPARE(form.monthPanels().counters(month).cell, qint16(0));
        QCOMPARE(form.monthPanels().counters(month).day, qint16(1));
    }
    QVERIFY(form.MusicPath().isEmpty());
    QVERIFY(w.sink.commands.isEmpty());
}

void TestStartup::readableBackgroundReplacesTheSeascape() {
    TestWindow w;
    QImage green(64, 48, QImage::Format_RGB32);
    green.fill(QColor(0, 200, 0));
    writeFile(w.folder.filePath("1.jpg"), jpegBytes(green));
    app::Form1& form = w.make();
    form.load();
    const QImage& picture = form.controls().pctFon()->picture();
    QCOMPARE(picture.size(), QSize(64, 48));
    QVERIFY(qAbs(QColor(picture.pixel(10, 10)).green() - 200) < 8);
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
        writeFile(path, {});
    else if (kind == "truncated")
        writeFile(path, good.left(good.size() / 3));
    else if (kind == "truncated png") {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        writeFile(path, png.left(png.size() / 2));
    } else if (kind == "random") {
        QByteArray noise(5000, 0);
        for (char& b : noise)
            b = char(QRandomGenerator::global()->bounded(256));
        writeFile(path, noise);
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

    QElapsedTimer timer;
    timer.start();
    app::Form1& form = w.make();
    form.load();
    QVERIFY(timer.elapsed() < 1000);
    // The stored seascape stays: 1680 x 1260, not the magenta test picture.
    const QImage& shown = form.controls().pctFon()->picture();
    QCOMPARE(shown.size(), QSize(1680, 1260));
}

void TestStartup::decompressionBombIsCheap() {
    TestWindow w;
    const QByteArray bomb = jpegBomb(30000, 30000);
    QVERIFY(!bomb.isEmpty());
    QVERIFY(bomb.size() < 10 * 1024);
    writeFile(w.folder.filePath("1.jpg"), bomb);
    const long before = peakKilobytes();
    QElapsedTimer timer;
    timer.start();
    app::Form1& form = w.make();
    form.load();
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY2(peakKilobytes() - before < 100 * 1024,
             qPrintable(QString::number(peakKilobytes() - before)));
    QCOMPARE(form.controls().pctFon()->picture().size(), QSize(1680, 1260));
    // The loader itself refuses it, and a PNG under the .jpg name is a picture all the same.
    QVERIFY(!app::loadBackgroundPicture(w.folder.filePath("1.jpg")));
    QImage blue(40, 30, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    QVERIFY(blue.save(w.folder.filePath("png.jpg"), "PNG"));
    QCOMPARE(app::loadBackgroundPicture(w.folder.filePath("png.jpg")).value_or(QImage()).size(),
             QSize(40, 30));
}

// Repainting must reuse the scaled picture; only a new size scales again.
void TestStartup::backgroundScaledOncePerSize() {
    TestWindow w(QDate(2026, 12, 7), QSize(800, 600));
    app::Form1& form = w.make();
    form.load();
    QImage target(form.size(), QImage::Format_ARGB32);
    for (int i = 0; i < 5; ++i)
        form.render(&target);
    form.controls().cell("Label10", 3)->setCaption("x");
    form.render(&target);
    QCOMPARE(form.backgroundScalings(), 1);
    form.resize(640, 480);
    form.render(&target);
    form.render(&target);
    QCOMPARE(form.backgroundScalings(), 2);
    // The painted background is the seascape's sky, not the button face.
    const QColor corner = target.pixelColor(5, 5);
    QVERIFY(corner.blue() > corner.red() + 40);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
