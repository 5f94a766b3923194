#include "app/CalendarWindow.h"

#include "app/BackgroundDecode.h"
#include "app/Placement.h"
#include "design/Resources.h"
#include "widgets/Pointers.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <utility>

namespace navcal::app {

using widgets::lifebuoyIcon;
using widgets::readLargeRendering;

namespace {

// The stored background, known from the design before its control exists.
QString storedBackground() {
    for (const design::StoredControl& control : design::storedControls())
        if (control.role == design::Role::Background)
            return control.picture;
    return {};
}

// The pictures of the design's images.
QStringList storedImages() {
    QStringList pictures;
    for (const design::StoredControl& control : design::storedControls())
        if (control.kind == design::ControlKind::Image && !control.picture.isEmpty())
            pictures << control.picture;
    return pictures;
}

} // namespace

CalendarWindow::CalendarWindow(QStringList dataFolders, std::optional<QSize> screenPixels,
                               QWidget* parent)
    : QWidget(parent), m_dataFolders(std::move(dataFolders)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowIcon(widgets::lifebuoyIcon());
    setFocusPolicy(Qt::StrongFocus);
    // The stored client area; start-up sizes the window to the screen.
    const double twipsPerPixel = logicalTwipsPerPixel();
    const design::TwipScale unscaled{twipsPerPixel};
    resize(int(unscaled.pixels(design::kDesignWidth)), int(unscaled.pixels(design::kDesignHeight)));
    QPalette p = palette();
    p.setColor(QPalette::Window, QGuiApplication::palette().color(QPalette::Button));
    // Nothing here looks different without focus. Inactive colours that
    // differ (a desktop's theme may set them) would make Qt repaint the
    // window and each of its controls whenever focus comes or goes.
    for (int role = 0; role < QPalette::NColorRoles; ++role)
        p.setBrush(QPalette::Inactive, QPalette::ColorRole(role),
                   p.brush(QPalette::Active, QPalette::ColorRole(role)));
    setPalette(p);
    setAutoFillBackground(false);
    // The background picture covers the whole window: no fill beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent);

    const QScreen* primary = QGuiApplication::primaryScreen();
    m_fit = ScreenFit::of(screenPixels ? QRect(QPoint(0, 0), *screenPixels)
                          : primary    ? primary->geometry()
                                       : QRect(0, 0, 1024, 768),
                          twipsPerPixel);

    // The pictures are decoded on a second thread while the controls are
    // built here: the first frame waits for the longer of the two, not both.
    // What that thread reads is set up here first: the stored pictures'
    // resources.
    design::ensureResources();
    m_backgroundPixels = backgroundPixels();
    const QStringList enlarged = enlargedImages();
    m_haveLargeRenderings = !enlarged.isEmpty();
    m_decoding.reset(QThread::create([this, folders = m_dataFolders, stored = storedBackground(),
                                      pixels = m_backgroundPixels, enlarged] {
        m_decoded = backgroundFor(folders, stored, pixels);
        m_largeRenderings = readLargeRenderings(enlarged);
    }));
    m_decoding->start();

    m_controls = std::make_unique<app::Controls>(this, m_fit.scale);
    // The clock repaints every second, the banner as it changes: the
    // background beneath them follows their places.
    for (QWidget* often : {static_cast<QWidget*>(m_controls->roles().clock),
                           static_cast<QWidget*>(m_controls->roles().banner)})
        often->installEventFilter(this);
}

CalendarWindow::~CalendarWindow() {
    if (m_decoding)
        m_decoding->wait();
    // A picture that comes after this is not posted to a window that is gone.
    for (const std::unique_ptr<QThread>& decoding : m_sizeDecoding)
        decoding->wait();
}

QStringList CalendarWindow::enlargedImages() const {
    // The images' larger renderings are read only when they are drawn larger.
    if (m_haveLargeRenderings || m_fit.scale.factor * devicePixelRatioF() == 1.0)
        return {};
    return storedImages();
}

void CalendarWindow::loadFrame() {
    // Each step stands on its own: one that cannot be done is skipped.
    setWindowState(Qt::WindowNoState);
    loadBackground();
    setGeometry(m_fit.geometry);
    app::placeOnScreen(*m_controls, m_fit.width, m_fit.height);
}

void CalendarWindow::afterFirstFrame(std::function<void()> rest, int latestMs) {
    if (m_stepsCancelled)
        return;
    m_afterFirstFrame.push_back(std::move(rest));
    // A window that is never exposed still gets its music: one timer serves
    // every step given before it runs.
    if (m_afterFirstFrame.size() == 1)
        QTimer::singleShot(latestMs, this, [this] { runAfterFirstFrame(); });
}

void CalendarWindow::cancelAfterFirstFrame() {
    m_stepsCancelled = true;
    m_afterFirstFrame.clear();
}

void CalendarWindow::runAfterFirstFrame() {
    for (const std::function<void()>& step : std::exchange(m_afterFirstFrame, {}))
        step();
}

void CalendarWindow::fitToScreen(const QRect& geometry) {
    if (geometry.isEmpty())
        return;
    const QSizeF from(m_fit.width, m_fit.height);
    m_fit = ScreenFit::of(geometry, m_fit.scale.screenTwipsPerPixel);
    m_controls->rescale(m_fit.scale);
    app::movePlacement(*m_controls, from, QSizeF(m_fit.width, m_fit.height));
    emit fitted(m_fit.width);
    setGeometry(m_fit.geometry);
    // Decoded afresh for the new size, an enlarged smaller copy would blur;
    // on a thread, while the picture held is shown scaled.
    if (m_decoding)
        loadBackground();
    else
        decodeForSize();
    update();
}

void CalendarWindow::decodeForSize() {
    const QSize pixels = backgroundPixels();
    const QStringList enlarged = enlargedImages();
    m_haveLargeRenderings = m_haveLargeRenderings || !enlarged.isEmpty();
    const int size = ++m_sizesAsked;
    std::erase_if(m_sizeDecoding, [](const auto& decoding) { return decoding->isFinished(); });
    auto* decoding = QThread::create(
        [this, folders = m_dataFolders, stored = storedBackground(), pixels, enlarged, size] {
            QImage picture = backgroundFor(folders, stored, pixels);
            QHash<QString, QImage> large = readLargeRenderings(enlarged);
            QMetaObject::invokeMethod(this, [this, picture = std::move(picture),
                                             large = std::move(large), size]() mutable {
                giveLargeRenderings(large);
                // Only the last size asked for is shown.
                if (size == m_sizesAsked)
                    showBackground(std::move(picture));
            });
        });
    m_sizeDecoding.emplace_back(decoding);
    decoding->start();
}

QHash<QString, QImage> CalendarWindow::readLargeRenderings(const QStringList& pictures) {
    QHash<QString, QImage> large;
    for (const QString& picture : pictures)
        large.insert(picture, readLargeRendering(picture));
    return large;
}

void CalendarWindow::giveLargeRenderings(const QHash<QString, QImage>& large) {
    for (widgets::ImageControl* image : m_controls->allImages()) {
        const QImage rendering = large.value(image->source());
        if (!rendering.isNull())
            image->setLargeRendering(rendering);
    }
}

void CalendarWindow::showBackground(QImage picture) {
    // For the screen the window is fitted to, which it may not cover yet.
    fitBackground(std::move(picture), m_fit.geometry.size());
    update();
}

void CalendarWindow::fitBackground(QImage picture, QSize size) {
    m_controls->roles().background->setPicture(m_background.fit(
        std::move(picture), size, devicePixelRatioF(), palette().color(QPalette::Window)));
}

void CalendarWindow::keepBackgroundReady() {
    const Roles& roles = m_controls->roles();
    m_background.keepReady({roles.clock->geometry(), roles.banner->geometry()});
}

void CalendarWindow::resizeEvent(QResizeEvent* event) {
    if (m_controls)
        fitBackground(m_controls->roles().background->picture(), event->size());
}

bool CalendarWindow::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        keepBackgroundReady();
    return false;
}

QSize CalendarWindow::backgroundPixels() const {
    return (QSizeF(m_fit.geometry.size()) * devicePixelRatioF()).toSize();
}

void CalendarWindow::loadBackground() {
    // One copy of the picture is kept: at the window's size when it is
    // larger, else as decoded (smaller than a copy at the window's size).
    // The GUI thread never decodes: it waits for the decoding thread, and a
    // window whose size has changed since shows that picture until one
    // decoded for its size comes.
    if (!m_decoding) {
        decodeForSize();
        return;
    }
    m_decoding->wait();
    m_decoding.reset();
    giveLargeRenderings(std::exchange(m_largeRenderings, {}));
    showBackground(std::exchange(m_decoded, QImage()));
    if (backgroundPixels() != m_backgroundPixels)
        decodeForSize();
}

void CalendarWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    m_background.paint(painter, event->rect(), size(), devicePixelRatioF());
    if (!m_painted) {
        m_painted = true;
        // After this frame has reached the screen.
        QTimer::singleShot(0, this, [this] { runAfterFirstFrame(); });
    }
}

// The window draws no focus frame: Qt's own handlers would repaint it whole,
// every control with it, when focus comes (just after the first frame)
// or goes.
void CalendarWindow::focusInEvent(QFocusEvent*) {}
void CalendarWindow::focusOutEvent(QFocusEvent*) {}

void CalendarWindow::closeEvent(QCloseEvent* event) {
    // Unload: whatever closed the window, the saver ends.
    event->accept();
    if (m_unloaded)
        return;
    m_unloaded = true;
    emit unloading();
}

} // namespace navcal::app
