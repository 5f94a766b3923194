// The arrangement at a fractional device pixel ratio: no label overlaps one
// that it does not overlap at ratio 1, and none leaves the window. The ratio is
// fixed when the application starts, so each one runs in a copy of this test.

#include "banner/Banner.h"
#include "design/Fonts.h"
#include "extras/ClockDisplay.h"
#include "panels/PanelTestKit.h"
#include "support/TestServices.h"

#include <QApplication>
#include <QPainter>
#include <QProcess>
#include <QtTest>
#include <cmath>

using namespace navcal;

namespace {

// A label as drawn: its name, box, font, caption and frame width.
struct Shown {
    QString name;
    QRect place;
    QFont font;
    QString caption;
    int frame;
};

// Whether the caption, drawn at the window's ratio, inks beyond its label's
// right or bottom edge (where the label clips it).
bool inksOutside(const Shown& label, qreal ratio) {
    const QSize room = label.place.size() + QSize(40, 20);
    QImage ink((QSizeF(room) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    ink.setDevicePixelRatio(ratio);
    ink.fill(Qt::transparent);
    QPainter painter(&ink);
    painter.setFont(label.font);
    const int frame = label.frame;
    painter.drawText(QRect(QPoint(frame, frame), room), Qt::AlignLeft | Qt::AlignTop,
                     QString(label.caption).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    painter.end();
    const int right = int(std::ceil(label.place.width() * ratio));
    const int bottom = int(std::ceil(label.place.height() * ratio));
    for (int y = 0; y < ink.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(ink.constScanLine(y));
        for (int x = y < bottom ? right : 0; x < ink.width(); ++x)
            if (qAlpha(line[x]) > 64)
                return true;
    }
    return false;
}

const char* const kReportVariable = "NAVCAL_LAYOUT_REPORT";

// For a filled calendar on a screen of `screen` logical pixels: the ratio
// and the number of labels shown first, then each pair of shown labels that overlap and each label
// that is not wholly inside the window.
QStringList layoutReport(QSize screen) {
    design::installFontSubstitutes();
    // Navy Day: the banner shows one of its long lines.
    test::TestWindow w(QDate(2026, 7, 26), screen);
    app::CalendarWindow& form = w.shown();
    if (!test::runAllFills(w))
        return {QStringLiteral("the fill never stopped")};
    // The clock shown, a second after the start; every beat till then has
    // placed the banner.
    const widgets::TwipLabel* clock = test::Parts(form).clock;
    if (!QTest::qWaitFor([clock] { return !clock->text().isEmpty(); }, 20000))
        return {QStringLiteral("the clock never showed")};
    QStringList report = {QStringLiteral("ratio %1").arg(form.devicePixelRatioF())};
    QList<Shown> shown;
    for (widgets::TwipLabel* label : form.findChildren<widgets::TwipLabel*>())
        if (label->isVisibleTo(&form))
            shown.append({label->objectName(), label->geometry(), label->font(), label->text(),
                          label->frameWidth()});
    // Today's frame: a design pixel at the arrangement's scale, which fills
    // the 1024x768 design to the screen.
    const double factor = std::min(screen.width() / 1024.0, screen.height() / 768.0);
    const int frame = std::max(1, int(std::lround(factor)));
    for (int month = 1; month <= 12; ++month)
        for (int part = 0; part < panels::MonthView::kParts; ++part) {
            const panels::MonthView* view = test::monthView(form, month);
            const panels::MonthView::Look look = view->look(part);
            shown.append({QStringLiteral("month %1 part %2").arg(month).arg(part),
                          view->partPixels(part), view->partFont(part), look.caption,
                          look.frame ? frame : 0});
        }
    report << QStringLiteral("labels %1").arg(shown.size());
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QRect place = shown[i].place;
        if (!form.rect().contains(place))
            report << QStringLiteral("outside %1").arg(shown[i].name);
        if (inksOutside(shown[i], form.devicePixelRatioF()))
            report << QStringLiteral("clipped %1").arg(shown[i].name);
        for (qsizetype j = i + 1; j < shown.size(); ++j)
            if (place.intersects(shown[j].place))
                report << QStringLiteral("%1 overlaps %2").arg(shown[i].name, shown[j].name);
    }
    return report;
}

} // namespace

class TestFractionalRatio : public QObject {
    Q_OBJECT
  private slots:
    void labelsKeepClearOfEachOther_data();
    void labelsKeepClearOfEachOther();
};

void TestFractionalRatio::labelsKeepClearOfEachOther_data() {
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QSize>("screen"); // logical pixels
    QTest::newRow("1.25, 1920x1080") << "1.25" << QSize(1536, 864);
    QTest::newRow("1.5, 1920x1080") << "1.5" << QSize(1280, 720);
    QTest::newRow("1.25, 1280x960") << "1.25" << QSize(1024, 768);
    QTest::newRow("1.5, 1200x900") << "1.5" << QSize(800, 600);
}

void TestFractionalRatio::labelsKeepClearOfEachOther() {
    QFETCH(QString, factor);
    QFETCH(QSize, screen);
    if (qApp->devicePixelRatio() != 1.0)
        QSKIP("the comparison needs this run at ratio 1");
    QStringList atOne = layoutReport(screen);
    QCOMPARE(atOne.takeFirst(), QStringLiteral("ratio 1"));
    QCOMPARE(atOne.first(), QStringLiteral("labels 546")); // every label of the design

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_SCALE_FACTOR", factor);
    env.insert(kReportVariable, QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height()));
    QProcess copy;
    copy.setProcessEnvironment(env);
    copy.start(QCoreApplication::applicationFilePath(), QStringList{});
    QVERIFY(copy.waitForFinished(60000));
    QCOMPARE(copy.exitCode(), 0);
    QStringList scaled = QString::fromUtf8(copy.readAllStandardOutput())
                             .remove(QLatin1Char('\r'))
                             .split('\n', Qt::SkipEmptyParts);
    QVERIFY(!scaled.isEmpty());
    QCOMPARE(scaled.takeFirst(), QStringLiteral("ratio %1").arg(factor));
    QCOMPARE(scaled.value(0), atOne.first());
    QStringList added;
    for (const QString& fault : scaled)
        if (!atOne.contains(fault))
            added << fault;
    QVERIFY2(added.isEmpty(), qPrintable(added.join(QStringLiteral("; "))));
}

int main(int argc, char** argv) {
    const QByteArray size = qgetenv(kReportVariable);
    if (!size.isEmpty()) {
        QApplication app(argc, argv);
        const QList<QByteArray> wh = size.split('x');
        const QStringList report = layoutReport(QSize(wh.value(0).toInt(), wh.value(1).toInt()));
        QTextStream(stdout) << report.join('\n') << '\n';
        return 0;
    }
    QApplication app(argc, argv);
    TestFractionalRatio test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fractionalratio.moc"
