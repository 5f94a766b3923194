#include "banner/Banner.h"
#include "extras/ClockDisplay.h"
#include "extras/Decorations.h"
#include "panels/MonthPanels.h"
#include "support/DrawnLabels.h"
#include "support/TestServices.h"

#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <optional>

using namespace navcal;
using widgets::ImageControl;
using widgets::TwipLabel;

namespace {

// A point of the window's bare background, away from `avoid`.
std::optional<QPoint> backgroundPoint(QWidget& window, const QRect& avoid = {}) {
    for (int y = 5; y < window.height(); y += 7)
        for (int x = 5; x < window.width(); x += 7) {
            const QPoint p(x, y);
            if (!window.childAt(p) && !avoid.adjusted(-30, -30, 30, 30).contains(p))
                return p;
        }
    return std::nullopt;
}

using Line = TwipLabel* app::Roles::*;

struct Window {
    explicit Window(QSize screen = QSize(1024, 768))
        : w(QDate(2026, 2, 23), screen), form(w.loaded()) {}
    ImageControl* image() { return form.controls().roles().ship; }
    TwipLabel* label(Line line) { return form.controls().roles().*line; }
    extras::Decorations& decorations() { return w.saver->decorations(); }

    test::TestWindow w;
    app::CalendarWindow& form;
};

// What a drop on the window leaves of the ship.
struct Place {
    float left, top;
};

} // namespace

class TestDecorations : public QObject {
    Q_OBJECT
  private slots:
    void labelClickGivesRandomColour_data();
    void labelClickGivesRandomColour();
    void dropMovesOnlyOverBackground_data();
    void dropMovesOnlyOverBackground();
    void plainClickHidesForGood();
    void otherButtonsStartNothing_data();
    void otherButtonsStartNothing();
    void pressPutsImageBehindLabels();
    void realDragMovesWithoutHiding_data();
    void realDragMovesWithoutHiding();
};

// A click on one of the single lines draws it in the colour the draw picks
// from the sixteen-colour palette, its first and last entries too.
void TestDecorations::labelClickGivesRandomColour_data() {
    QTest::addColumn<Line>("line");
    QTest::addColumn<std::vector<double>>("draws");
    QTest::addColumn<std::vector<QColor>>("colours"); // as drawn
    QTest::addColumn<QSize>("screen");
    QTest::newRow("clock, grey") << &app::Roles::clock << std::vector<double>{0.5}
                                 << std::vector{QColor(128, 128, 128)} << QSize(1024, 768);
    // Its large digits are drawn from pictures there: they must follow a second colour too.
    QTest::newRow("clock on 3840x2160, grey, then navy")
        << &app::Roles::clock << std::vector<double>{0.5, 0.07}
        << std::vector{QColor(128, 128, 128), QColor(0, 0, 128)} << QSize(3840, 2160);
    QTest::newRow("title line, navy, then black at the first entry")
        << &app::Roles::title << std::vector<double>{0.07, 0.01}
        << std::vector{QColor(0, 0, 128), QColor(0, 0, 0)} << QSize(1024, 768);
    QTest::newRow("date line, red") << &app::Roles::dateLine << std::vector<double>{0.75}
                                    << std::vector{QColor(255, 0, 0)} << QSize(1024, 768);
    QTest::newRow("banner, white at the last entry")
        << &app::Roles::banner << std::vector<double>{0.999} << std::vector{QColor(255, 255, 255)}
        << QSize(1024, 768);
}

void TestDecorations::labelClickGivesRandomColour() {
    QFETCH(Line, line);
    QFETCH(std::vector<double>, draws);
    QFETCH(std::vector<QColor>, colours);
    QFETCH(QSize, screen);
    Window win(screen);
    TwipLabel* clicked = win.label(line);
    const std::array others = {&app::Roles::clock, &app::Roles::title, &app::Roles::dateLine,
                               &app::Roles::banner, &app::Roles::siteAddress};
    std::vector<design::Colour> before;
    for (const Line other : others)
        before.push_back(win.label(other)->colour());

    // The clock and the banner get their text at a tick (the date line has
    // its own from the start).
    win.w.saver->clockDisplay().show(win.w.clock.now());
    win.w.saver->banner().tick();
    win.w.random.script(draws);
    for (size_t i = 0; i < draws.size(); ++i) {
        QTest::mouseClick(clicked, Qt::LeftButton);
        // The label alone: its text is all that is opaque.
        const QImage drawn = clicked->grab().toImage();
        QVERIFY2(test::pixelsNear(drawn, colours[i]) > 10,
                 qPrintable(QStringLiteral("no text drawn in %1").arg(colours[i].name())));
    }
    for (size_t i = 0; i < others.size(); ++i)
        if (others[i] != line)
            QCOMPARE(win.label(others[i])->colour(), before[i]);
}

void TestDecorations::dropMovesOnlyOverBackground_data() {
    QTest::addColumn<QString>("over"); // what lies under the pointer
    QTest::addColumn<QPoint>("grab");  // pixels inside the ship
    QTest::addColumn<QPoint>("drop");  // pixels in the window
    QTest::newRow("background") << QString() << QPoint(10, 20) << QPoint(300, 200);
    QTest::newRow("background, partly off the screen")
        << QString() << QPoint(40, 30) << QPoint(2, 3);
    QTest::newRow("label") << QStringLiteral("title line") << QPoint(10, 20) << QPoint(300, 200);
    QTest::newRow("day cell") << QStringLiteral("January") << QPoint(10, 20) << QPoint(300, 200);
    QTest::newRow("other image") << QStringLiteral("flag") << QPoint(10, 20) << QPoint(300, 200);
    QTest::newRow("itself") << QStringLiteral("ship") << QPoint(10, 20) << QPoint(300, 200);
}

void TestDecorations::dropMovesOnlyOverBackground() {
    QFETCH(QString, over);
    QFETCH(QPoint, grab);
    QFETCH(QPoint, drop);
    Window win;
    ImageControl* image = win.image();
    const Place start{image->left(), image->top()};
    const app::Roles& r = win.form.controls().roles();
    const QHash<QString, QWidget*> controls = {
        {"title line", r.title}, {"January", r.month(1)}, {"flag", r.flag}, {"ship", r.ship}};
    const QWidget* target = controls.value(over);
    QVERIFY(over.isEmpty() || target);

    win.decorations().beginDrag(Qt::LeftButton, grab);
    const bool moved = win.decorations().dropAt(drop, target);

    const double tpp = image->twipsPerPixel();
    QCOMPARE(moved, over.isEmpty());
    if (moved) {
        QCOMPARE(image->left(), float(drop.x() * tpp) - float(grab.x() * tpp));
        QCOMPARE(image->top(), float(drop.y() * tpp) - float(grab.y() * tpp));
        // The grabbed point is under the pointer; the size is kept.
        QCOMPARE(image->pos() + grab, drop);
    } else {
        QCOMPARE(image->left(), start.left);
        QCOMPARE(image->top(), start.top);
    }
    QVERIFY(image->isVisibleTo(&win.form));
}

void TestDecorations::plainClickHidesForGood() {
    Window win;
    ImageControl* image = win.image();
    const QPoint start = image->pos();
    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(image->isHidden());
    QCOMPARE(image->pos(), start);
    // Nothing brings it back: a drop of a drag payload does not show it.
    win.decorations().dropAt(QPoint(100, 100), nullptr);
    QVERIFY(image->isHidden());
}

void TestDecorations::otherButtonsStartNothing_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestDecorations::otherButtonsStartNothing() {
    QFETCH(Qt::MouseButton, button);
    Window win;
    ImageControl* image = win.image();
    const QPoint start = image->pos();
    const QObjectList stacking = win.form.children();
    // A drag started by mistake would wait for a release: end it.
    QTimer::singleShot(2000, [] { QDrag::cancel(); });

    QTest::mouseClick(image, button, {}, QPoint(12, 9));
    emit image->pressed(button, QPoint(12, 9));
    emit image->dragMoved(QPoint(60, 60));

    QVERIFY(!win.decorations().dragging());
    QCOMPARE(win.form.children(), stacking);
    QVERIFY(image->isVisibleTo(&win.form));
    QCOMPARE(image->pos(), start);
}

void TestDecorations::pressPutsImageBehindLabels() {
    Window win;
    ImageControl* image = win.image();
    TwipLabel* title = win.form.controls().roles().title;
    // Put the ship over the title line: as stored, it is drawn on top.
    image->moveTwips(title->left(), title->top());
    const QPoint overlap = title->geometry().intersected(image->geometry()).center();
    QCOMPARE(win.form.childAt(overlap), image);

    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(win.form.childAt(overlap), title);

    // It stays behind after a drop somewhere else.
    win.decorations().dropAt(QPoint(200, 200), nullptr);
    image->moveTwips(title->left(), title->top());
    QCOMPARE(win.form.childAt(overlap), title);
}

void TestDecorations::realDragMovesWithoutHiding_data() {
    QTest::addColumn<bool>("onBackground");
    QTest::addColumn<bool>("thenClick"); // a plain click on the ship after the drag
    QTest::newRow("released over the background") << true << false;
    QTest::newRow("released over itself") << false << false;
    QTest::newRow("released over the background, then a click") << true << true;
}

void TestDecorations::realDragMovesWithoutHiding() {
    QFETCH(bool, onBackground);
    QFETCH(bool, thenClick);
    Window win;
    win.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win.form));
    QWindow* window = win.form.windowHandle();
    ImageControl* image = win.image();
    const QPoint start = image->pos();
    const QPoint grab(12, 9);
    const QPoint pressAt = start + grab;
    const auto background = backgroundPoint(win.form, image->geometry());
    QVERIFY(background);
    const QPoint releaseAt = onBackground ? *background : start + QPoint(2, 2);

    // The test stands in for the platform: it delivers the drag's moves and
    // drop to the window under the pointer, as a desktop drag would.
    int drags = 0;
    QTimer::singleShot(5000, [] { QDrag::cancel(); }); // a platform loop must not hang us
    connect(&win.decorations(), &extras::Decorations::dragStarted, this, [&](QDrag* drag) {
        ++drags;
        QVERIFY(extras::Decorations::isDragData(drag->mimeData()));
        QCOMPARE(drag->pixmap().size(), image->picture().size());
        QCOMPARE(drag->hotSpot(), grab);
        QDragEnterEvent enter(releaseAt, Qt::MoveAction, drag->mimeData(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(&win.form, &enter);
        QDragMoveEvent move(releaseAt, Qt::MoveAction, drag->mimeData(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(&win.form, &move);
        QDropEvent drop(releaseAt, Qt::MoveAction, drag->mimeData(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(&win.form, &drop);
    });

    QTest::mousePress(window, Qt::LeftButton, {}, pressAt);
    // A move within the threshold is still a click in the making.
    QTest::mouseMove(window, pressAt + QPoint(1, 0));
    QCOMPARE(drags, 0);
    const int far = QApplication::startDragDistance() + 5;
    QTest::mouseMove(window, pressAt + QPoint(far, far));
    QCOMPARE(drags, 1);
    // Where the platform leaves the release to the image, it is no click.
    QTest::mouseRelease(window, Qt::LeftButton, {}, releaseAt);
    // A platform may still hand that release to the image itself: no click.
    const QPoint inside = image->mapFromParent(releaseAt);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, image->mapToGlobal(inside),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(image, &release);

    QVERIFY(win.decorations().dragging());
    QVERIFY(image->isVisible());
    QCOMPARE(image->pos(), onBackground ? releaseAt - grab : start);
    if (!thenClick)
        return;
    // The next press and release where it now stands is a click again.
    QTest::mouseClick(window, Qt::LeftButton, {}, image->pos() + grab);
    QVERIFY(!image->isVisible());
}

QTEST_MAIN(TestDecorations)
#include "tst_decorations.moc"
