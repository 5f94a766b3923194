#include "platform/DisplayConnection.h"

#include <QByteArray>
#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <xcb/xcb.h>
#endif

namespace navcal::platform {

void prepareDisplayConnection() {
#ifdef Q_OS_LINUX
    // A setting of the user's is kept; only an X11 run is asked.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM") ||
        (!platform.isEmpty() && !platform.startsWith("xcb")) ||
        (platform.isEmpty() && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) ||
        qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return;
    }
    // The largest request the server takes, in bytes; a window can be no
    // larger than its screen (32 bits a pixel, a header's room to spare).
    const quint64 largestRequest = quint64(xcb_get_maximum_request_length(c)) * 4;
    bool fits = true;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem; xcb_screen_next(&it))
        fits = fits && quint64(it.data->width_in_pixels) * it.data->height_in_pixels * 4 + 64 <=
                           largestRequest;
    xcb_disconnect(c);
    if (fits)
        qputenv("QT_XCB_NO_MITSHM", QByteArrayLiteral("1"));
#endif
}

} // namespace navcal::platform
