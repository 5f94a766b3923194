// After the fill the saver sits idle for hours: a clock second may repaint
// the clock and nothing else.

#include "panels/PanelTestKit.h"
#include "support/TestServices.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QtTest>
#include <algorithm>

using namespace navcal;
using test::TestWindow;

namespace {

// Every paint in the window, as the rectangle it covers in window coordinates.
class PaintRecorder : public QObject {
  public:
    explicit PaintRecorder(QWidget* window) : m_window(window) {}
    QList<QPair<QString, QRect>> paints;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget == m_window || m_window->isAncestorOf(widget)) {
                const QRect r = static_cast<QPaintEvent*>(event)->rect();
                paints.append(
                    {widget->objectName(), QRect(widget->mapTo(m_window, r.topLeft()), r.size())});
            }
        }
        return false;
    }

  private:
    QWidget* m_window;
};

// A widget of the test's own in the window. Asked to repaint, its paint comes
// with every other one the window has pending, so once it is recorded nothing
// is left to come: a wait for that, not for a time, on a busy machine too.
class Sentinel : public QWidget {
  public:
    explicit Sentinel(QWidget* window) : QWidget(window) {
        setObjectName(QStringLiteral("sentinel"));
        // Opaque: the window beneath it is not repainted with it.
        setAttribute(Qt::WA_OpaquePaintEvent);
        setGeometry(0, 0, 1, 1);
        show();
    }
    bool allPaintsCame(PaintRecorder& recorder) {
        const qsizetype from = recorder.paints.size();
        update();
        const bool came = QTest::qWaitFor(
            [&] {
                return std::any_of(recorder.paints.begin() + from, recorder.paints.end(),
                                   [this](const auto& p) { return p.first == objectName(); });
            },
            10000);
        recorder.paints.removeIf([this](const auto& p) { return p.first == objectName(); });
        return came;
    }

  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::black); }
};

} // namespace

class TestIdle : public QObject {
    Q_OBJECT
  private slots:
    void eachSecondRepaintsOnlyTheClock();
    void repaintedRectangleLooksTheSame();
    void focusComingAndGoingRepaintsNothing_data();
    void focusComingAndGoingRepaintsNothing();
};

void TestIdle::eachSecondRepaintsOnlyTheClock() {
    TestWindow w(QDate(2026, 2, 23)); // a holiday: the banner shows and keeps ticking
    app::CalendarWindow& form = w.shown();
    const test::Parts roles(form);
    QTRY_VERIFY_WITH_TIMEOUT(test::filled(w), 5000);
    widgets::TwipLabel* clock = roles.clock;
    widgets::TwipLabel* banner = roles.banner;
    QTRY_VERIFY_WITH_TIMEOUT(!banner->text().isEmpty() && !clock->text().isEmpty(), 5000);

    PaintRecorder recorder(&form);
    qApp->installEventFilter(&recorder);
    Sentinel sentinel(&form);
    QVERIFY(sentinel.allPaintsCame(recorder));
    for (int second = 0; second < 3; ++second) {
        recorder.paints.clear();
        const QRect before = clock->geometry();
        const QString shown = clock->text();
        w.clock.advanceMs(1000);
        // The beat that shows the new second checks the banner, too.
        QTRY_VERIFY_WITH_TIMEOUT(clock->text() != shown, 10000);
        QVERIFY(sentinel.allPaintsCame(recorder));
        const QRect allowed = before.united(clock->geometry());
        QVERIFY(!recorder.paints.isEmpty());
        for (const auto& [name, rect] : std::as_const(recorder.paints))
            QVERIFY2(allowed.contains(rect), qPrintable(QStringLiteral("%1 painted %2,%3 %4x%5")
                                                            .arg(name)
                                                            .arg(rect.x())
                                                            .arg(rect.y())
                                                            .arg(rect.width())
                                                            .arg(rect.height())));
    }
    qApp->removeEventFilter(&recorder);
}

// On a screen larger than the stored picture the background is enlarged as
// it is drawn; the clock's rectangle, painted again and again, is then drawn
// from a piece kept ready, which must show exactly what the first paint did.
void TestIdle::repaintedRectangleLooksTheSame() {
    TestWindow w(QDate(2026, 12, 9), QSize(1920, 1080));
    app::CalendarWindow& form = w.shown();
    const QRect area = test::Parts(form).clock->geometry();
    QList<QImage> paints;
    for (int paint = 0; paint < 4; ++paint) {
        QImage image(area.size(), QImage::Format_RGB32);
        form.render(&image, QPoint(), QRegion(area));
        paints.append(image);
    }
    for (int paint = 1; paint < paints.size(); ++paint)
        QCOMPARE(paints.at(paint), paints.first());
}

void TestIdle::focusComingAndGoingRepaintsNothing_data() {
    QTest::addColumn<bool>("themedInactive");
    QTest::newRow("the toolkit's palette") << false;
    QTest::newRow("a theme's own inactive colours") << true;
}

// Another window taking focus and giving it back (the first activation comes
// just after the first frame) repaints none of its controls.
void TestIdle::focusComingAndGoingRepaintsNothing() {
    QFETCH(bool, themedInactive);
    const QPalette original = QApplication::palette();
    if (themedInactive) {
        QPalette themed = original;
        themed.setColor(QPalette::Inactive, QPalette::Highlight, Qt::lightGray);
        QApplication::setPalette(themed);
    }
    auto restore = qScopeGuard([&original] { QApplication::setPalette(original); });
    TestWindow w(QDate(2026, 12, 9));
    app::CalendarWindow& form = w.shown();
    QTRY_VERIFY_WITH_TIMEOUT(test::filled(w), 10000);
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    PaintRecorder recorder(&form);
    qApp->installEventFilter(&recorder);
    Sentinel sentinel(&form);
    QVERIFY(sentinel.allPaintsCame(recorder));
    recorder.paints.clear();
    QWidget other;
    other.resize(100, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QVERIFY(form.hasFocus());
    QVERIFY(sentinel.allPaintsCame(recorder));
    qApp->removeEventFilter(&recorder);
    QCOMPARE(recorder.paints.size(), 0);
}

QTEST_MAIN(TestIdle)
#include "tst_idle.moc"
