#include "app/ScreenCovers.h"

#include "app/CalendarWindow.h"
#include "app/ExitPolicy.h"
#include "widgets/Pointers.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <utility>

namespace navcal::app {

using widgets::lifebuoyIcon;

ScreenCover::ScreenCover(QScreen* screen, QImage picture, std::function<void()> end)
    : m_picture(std::move(picture)) {
    new ExitPolicy(this, std::move(end));
    setObjectName(QStringLiteral("ScreenCover"));
    setWindowTitle(QStringLiteral("ScreenCover"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowIcon(widgets::lifebuoyIcon());
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(false);
    setGeometry(screen->geometry());
    // Fixes the screen before the window exists, so full screen means this one.
    winId();
    if (windowHandle())
        windowHandle()->setScreen(screen);
    // A new resolution of its screen is covered whole as well.
    connect(screen, &QScreen::geometryChanged, this,
            [this](const QRect& geometry) { setGeometry(geometry); });
}

void ScreenCover::resizeEvent(QResizeEvent*) {
    if (m_picture.isNull())
        return;
    const qreal ratio = devicePixelRatioF();
    m_scaled = QPixmap::fromImage(m_picture.scaled(
        (QSizeF(size()) * ratio).toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    m_scaled.setDevicePixelRatio(ratio);
}

void ScreenCover::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_picture.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    // A size or pixel ratio not scaled for yet is drawn to, not kept.
    const qreal ratio = devicePixelRatioF();
    if (m_scaled.size() != (QSizeF(size()) * ratio).toSize() ||
        m_scaled.devicePixelRatio() != ratio) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), m_picture);
        return;
    }
    painter.drawPixmap(0, 0, m_scaled);
}

ScreenCovers::ScreenCovers(CalendarWindow& form, std::function<void()> end)
    : m_form(form), m_end(std::move(end)) {
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen*) { follow(); });
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, [this](QScreen*) { follow(); });
    // The screen is still alive while this signal runs: its cover goes first,
    // and the calendar leaves it before the toolkit moves it anywhere.
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, [this](QScreen* screen) {
        drop(screen);
        if (screen == m_form.screen())
            moveCalendar(screen);
        follow();
    });
    if (QWindow* window = m_form.windowHandle())
        connect(window, &QWindow::screenChanged, this, [this](QScreen*) { follow(); });
    follow();
}

ScreenCovers::~ScreenCovers() {
    for (const auto& [screen, cover] : m_covers)
        delete cover;
}

QScreen* ScreenCovers::calendarScreen() const {
    QScreen* own = m_form.screen();
    return QGuiApplication::screens().contains(own) ? own : QGuiApplication::primaryScreen();
}

void ScreenCovers::moveCalendar(QScreen* gone) {
    QScreen* target = QGuiApplication::primaryScreen();
    if (target == gone) {
        target = nullptr;
        for (QScreen* screen : QGuiApplication::screens())
            if (screen != gone)
                target = screen;
    }
    QWindow* window = m_form.windowHandle();
    if (!target || !window)
        return;
    window->setScreen(target);
    m_form.fitToScreen(target->geometry());
    if (m_form.isVisible())
        m_form.showFullScreen();
}

void ScreenCovers::watchCalendarScreen() {
    QScreen* screen = calendarScreen();
    if (screen == m_watched)
        return;
    if (m_watched)
        disconnect(m_watched, nullptr, this, nullptr);
    m_watched = screen;
    if (!screen)
        return;
    // A new size of the calendar's own screen (a new resolution, a monitor
    // that now spans more of the desktop) is filled as at start-up.
    connect(screen, &QScreen::geometryChanged, this, [this](const QRect& geometry) {
        if (m_closed || geometry == m_form.screenGeometry())
            return;
        m_form.fitToScreen(geometry);
        follow();
    });
    connect(screen, &QObject::destroyed, this, [this] { m_watched = nullptr; });
}

void ScreenCovers::follow() {
    if (m_closed)
        return;
    watchCalendarScreen();
    const QList<QScreen*> screens = QGuiApplication::screens();
    const QScreen* calendar = m_watched;
    for (auto it = m_covers.begin(); it != m_covers.end();) {
        if (it->first == calendar || !screens.contains(it->first)) {
            it->second->hide();
            it->second->deleteLater();
            it = m_covers.erase(it);
        } else {
            ++it;
        }
    }
    bool added = false;
    for (QScreen* screen : screens) {
        if (screen == calendar || m_covers.count(screen))
            continue;
        auto* cover =
            new ScreenCover(screen, m_form.controls().roles().background->picture(), m_end);
        m_covers.emplace(screen, cover);
        cover->showFullScreen();
        added = true;
    }
    // Screens may overlap (mirrored or nested monitors): the calendar stays
    // above every cover.
    if (added && m_form.isVisible())
        m_form.raise();
}

void ScreenCovers::drop(QScreen* screen) {
    const auto it = m_covers.find(screen);
    if (it == m_covers.end())
        return;
    it->second->hide();
    it->second->deleteLater();
    m_covers.erase(it);
}

void ScreenCovers::close() {
    if (std::exchange(m_closed, true))
        return;
    for (const auto& [screen, cover] : m_covers)
        cover->close();
}

} // namespace navcal::app
