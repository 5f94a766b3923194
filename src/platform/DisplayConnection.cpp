#include "platform/DisplayConnection.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>
#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#endif
#ifdef Q_OS_LINUX
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>
#include <xcb/randr.h>
#include <xcb/xcb.h>
#endif

namespace navcal::platform {

#ifdef Q_OS_LINUX
namespace {

// The sizes of the windows to come: one per monitor as RandR 1.5 lists
// them, else (no RandR, or a server that lists none) the X screens', which
// hold every monitor on them.
QList<QSize> windowSizes(xcb_connection_t* c) {
    QList<QSize> sizes;
    bool monitorsKnown = false;
    const xcb_query_extension_reply_t* randr = xcb_get_extension_data(c, &xcb_randr_id);
    if (randr && randr->present) {
        xcb_randr_query_version_reply_t* version =
            xcb_randr_query_version_reply(c, xcb_randr_query_version(c, 1, 5), nullptr);
        monitorsKnown = version && (version->major_version > 1 || version->minor_version >= 5);
        std::free(version);
    }
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem; xcb_screen_next(&it)) {
        qsizetype listed = 0;
        if (monitorsKnown) {
            xcb_randr_get_monitors_reply_t* reply = xcb_randr_get_monitors_reply(
                c, xcb_randr_get_monitors(c, it.data->root, 1), nullptr);
            if (reply) {
                for (auto m = xcb_randr_get_monitors_monitors_iterator(reply); m.rem;
                     xcb_randr_monitor_info_next(&m), ++listed)
                    sizes << QSize(m.data->width, m.data->height);
                std::free(reply);
            }
        }
        if (listed == 0)
            sizes << QSize(it.data->width_in_pixels, it.data->height_in_pixels);
    }
    return sizes;
}

// Whether a Wayland compositor takes clients where WAYLAND_DISPLAY points:
// a name in XDG_RUNTIME_DIR or a full path. Only the socket is tried.
bool compositorListens(const QByteArray& name) {
    const QByteArray path = name.startsWith('/') ? name : qgetenv("XDG_RUNTIME_DIR") + '/' + name;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= qsizetype(sizeof(address.sun_path)))
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool listens =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return listens;
}

} // namespace
#endif

PreparedDisplay::PreparedDisplay() {
#ifdef Q_OS_LINUX
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const QByteArray named = qgetenv("WAYLAND_DISPLAY");
    const QByteArray wayland = named.isEmpty() ? QByteArrayLiteral("wayland-0") : named;
    // The toolkit tries Wayland first when the session names a compositor,
    // then X11 unless the platform was fixed to Wayland alone.
    if (platform.isEmpty() ? !named.isEmpty() : platform.startsWith("wayland")) {
        if (compositorListens(wayland))
            return; // nothing of X11 is asked on Wayland
        if (!platform.isEmpty() && !platform.contains(';')) {
            m_error = QStringLiteral("navcal: cannot reach the Wayland compositor \"%1\"")
                          .arg(QString::fromLocal8Bit(wayland));
            return;
        }
    } else if (!platform.isEmpty() && !platform.startsWith("xcb")) {
        return;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        // With no platform to fall back on, the toolkit would abort and leave
        // a core dump for what is only a missing display.
        if (!platform.contains(';'))
            m_error = named.isEmpty() || platform.startsWith("xcb")
                          ? displayUnavailable()
                          : QStringLiteral("navcal: neither the Wayland compositor \"%1\" nor "
                                           "an X display can be reached")
                                .arg(QString::fromLocal8Bit(wayland));
        return;
    }
    m_connection = c;
    // A setting of the user's is kept.
    if (qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        return;
    // The largest request the server takes, in bytes, against a whole frame
    // of each window (32 bits a pixel, a header's room to spare).
    const quint64 largestRequest = quint64(xcb_get_maximum_request_length(c)) * 4;
    bool fits = true;
    for (const QSize& size : windowSizes(c))
        fits = fits && quint64(size.width()) * quint64(size.height()) * 4 + 64 <= largestRequest;
    if (fits)
        qputenv("QT_XCB_NO_MITSHM", QByteArrayLiteral("1"));
#endif
}

PreparedDisplay::~PreparedDisplay() {
    release();
}

void PreparedDisplay::release() {
#ifdef Q_OS_LINUX
    if (m_connection)
        xcb_disconnect(static_cast<xcb_connection_t*>(std::exchange(m_connection, nullptr)));
#endif
}

QString displayUnavailable() {
    const QString display = qEnvironmentVariable("DISPLAY");
    return display.isEmpty()
               ? QStringLiteral("navcal: no X display to show on (DISPLAY is not set)")
               : QStringLiteral("navcal: cannot open the X display \"%1\"").arg(display);
}

QStringList PreparedDisplay::toolkitArguments() const {
#ifdef Q_OS_WIN
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return {QStringLiteral("-platform"), QStringLiteral("windows:fontengine=freetype")};
#endif
    return {};
}

QStringList offscreenToolkitArguments() {
#ifdef Q_OS_WIN
    wchar_t buffer[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR") && length > 0 && length < MAX_PATH)
        qputenv("QT_QPA_FONTDIR",
                (QString::fromWCharArray(buffer, int(length)) + QStringLiteral("\\Fonts"))
                    .toLocal8Bit());
#endif
    return {QStringLiteral("-platform"), QStringLiteral("offscreen")};
}

} // namespace navcal::platform
