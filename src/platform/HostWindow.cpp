#include "platform/HostWindow.h"

#include "platform/DisplayConnection.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>

#ifdef Q_OS_LINUX
#include <cstdlib>
#include <xcb/xcb.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace navcal::platform {

namespace {

#ifdef Q_OS_LINUX
QString hex(quint32 window) {
    return QStringLiteral("0x%1").arg(window, 0, 16);
}
#endif

} // namespace

bool hasWindowLendingHost() {
#ifdef Q_OS_LINUX
    return true;
#else
    return false;
#endif
}

bool hasPreviewHost() {
#ifdef Q_OS_WIN
    return true;
#else
    return false;
#endif
}

int hostGoneExitCode() {
    return hasPreviewHost() ? 0 : 1;
}

void prepareToolkitForHost() {
#ifdef Q_OS_LINUX
    qputenv("QT_QPA_PLATFORM", "xcb");
#endif
}

QSize HostWindow::logicalSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
    return (QSizeF(measured()) / ratio).toSize();
}

#ifdef Q_OS_LINUX

namespace {
xcb_connection_t* xcb(void* connection) {
    return static_cast<xcb_connection_t*>(connection);
}
} // namespace

std::unique_ptr<HostWindow> HostWindow::open(quint32 window, QString* error) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        *error = displayUnavailable();
        return nullptr;
    }
    xcb_generic_error_t* failure = nullptr;
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), &failure);
    std::free(failure);
    if (!geometry) {
        xcb_disconnect(c);
        *error = QStringLiteral("navcal: %1 is not a window on this display").arg(hex(window));
        return nullptr;
    }
    const bool isRoot = geometry->root == window;
    const QSize size(geometry->width, geometry->height);
    std::free(geometry);
    if (isRoot) {
        xcb_disconnect(c);
        *error = QStringLiteral("navcal: %1 is the root window; only a window lent by the "
                                "screensaver host is drawn on")
                     .arg(hex(window));
        return nullptr;
    }
    // Our own event mask on the host's window: its end and its size reach us
    // without touching what the host itself listens to. Checked: once the
    // mask is set, the window's end is an event, so nothing need ask again.
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    if (xcb_generic_error_t* refused = xcb_request_check(
            c, xcb_change_window_attributes_checked(c, window, XCB_CW_EVENT_MASK, &mask))) {
        std::free(refused);
        xcb_disconnect(c);
        *error = QStringLiteral("navcal: %1 is not a window on this display").arg(hex(window));
        return nullptr;
    }
    return std::unique_ptr<HostWindow>(new HostWindow(c, window, size));
}

HostWindow::HostWindow(void* connection, quint32 window, QSize size)
    : m_connection(connection), m_window(window), m_size(size) {}

void HostWindow::watch() {
    if (m_notifier)
        return;
    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(xcb(m_connection)),
                                     QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &HostWindow::readEvents);
    // Events the opening's round trip already took off the socket are not
    // announced again.
    readEvents();
}

HostWindow::~HostWindow() {
    xcb_disconnect(xcb(m_connection));
}

void HostWindow::readEvents() {
    xcb_connection_t* c = xcb(m_connection);
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
        const uint8_t type = event->response_type & 0x7f;
        QString reason;
        if (type == 0) {
            reason = QStringLiteral("navcal: the host's window %1 is gone").arg(hex(m_window));
        } else if (type == XCB_DESTROY_NOTIFY &&
                   reinterpret_cast<xcb_destroy_notify_event_t*>(event)->window == m_window) {
            reason =
                QStringLiteral("navcal: the host's window %1 was destroyed").arg(hex(m_window));
        } else if (type == XCB_CONFIGURE_NOTIFY) {
            const auto* configure = reinterpret_cast<xcb_configure_notify_event_t*>(event);
            const QSize size(configure->width, configure->height);
            if (configure->window == m_window && size != m_size) {
                m_size = size;
                emit resized(logicalSize());
            }
        }
        std::free(event);
        if (!reason.isEmpty() && !m_lost) {
            m_lost = true;
            emit lost(reason);
        }
    }
    if (xcb_connection_has_error(c) && !m_lost) {
        m_lost = true;
        m_notifier->setEnabled(false);
        emit lost(QStringLiteral("navcal: the connection to the X display was lost"));
    }
}

QSize HostWindow::measured() const {
    return m_size;
}

#elif defined(Q_OS_WIN)

namespace {

HWND handle(quint32 window) {
    return reinterpret_cast<HWND>(quintptr(window));
}

// The inside of a window, in physical pixels once the toolkit has made the
// process aware of each monitor's DPI.
QSize clientSize(HWND window) {
    RECT r{};
    if (!GetClientRect(window, &r))
        return {};
    return QSize(int(r.right - r.left), int(r.bottom - r.top));
}

} // namespace

std::unique_ptr<HostWindow> HostWindow::open(quint32 window, QString* error) {
    const HWND parent = handle(window);
    if (!IsWindow(parent) || parent == GetDesktopWindow()) {
        *error = QStringLiteral("navcal: %1 is not a window").arg(window);
        return nullptr;
    }
    return std::unique_ptr<HostWindow>(new HostWindow(nullptr, window, clientSize(parent)));
}

HostWindow::HostWindow(void* connection, quint32 window, QSize size)
    : m_connection(connection), m_window(window), m_size(size) {}

HostWindow::~HostWindow() = default;

void HostWindow::watch() {
    if (m_poll)
        return;
    // No notice reaches another program when its window is destroyed: a
    // look five times a second ends a closed preview well within a second.
    m_size = clientSize(handle(m_window));
    m_poll = new QTimer(this);
    m_poll->setInterval(200);
    connect(m_poll, &QTimer::timeout, this, &HostWindow::check);
    m_poll->start();
    check();
}

void HostWindow::readEvents() {}

void HostWindow::check() {
    if (m_lost)
        return;
    if (!IsWindow(handle(m_window))) {
        m_lost = true;
        m_poll->stop();
        emit lost(QStringLiteral("navcal: the host's window %1 is gone").arg(m_window));
        return;
    }
    const QSize size = clientSize(handle(m_window));
    if (size.isValid() && size != m_size) {
        m_size = size;
        emit resized(logicalSize());
    }
}

QSize HostWindow::measured() const {
    // Measured afresh: the size taken before the toolkit declared the process
    // DPI-aware was scaled down to 96 dpi by the system.
    const QSize size = clientSize(handle(m_window));
    return size.isValid() ? size : m_size;
}

#else

std::unique_ptr<HostWindow> HostWindow::open(quint32, QString* error) {
    *error = QStringLiteral("navcal: drawing into a host's window is not available here");
    return nullptr;
}

HostWindow::HostWindow(void* connection, quint32 window, QSize size)
    : m_connection(connection), m_window(window), m_size(size) {}

HostWindow::~HostWindow() = default;
void HostWindow::watch() {}
void HostWindow::readEvents() {}
void HostWindow::check() {}
QSize HostWindow::measured() const {
    return m_size;
}

#endif

} // namespace navcal::platform
