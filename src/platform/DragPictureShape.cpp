#include "platform/DragPictureShape.h"

#include <QBitmap>
#include <QEvent>
#include <QGuiApplication>
#include <QPixmap>
#include <QWindow>

#ifdef Q_OS_LINUX
#include <cstdlib>
#include <xcb/xcb.h>
#endif

namespace navcal::platform {

namespace {

// Whether the desktop blends see-through windows with what lies beneath:
// false only on X11 with no compositing manager on the display's screen.
bool desktopBlendsWindows() {
#ifdef Q_OS_LINUX
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return true;
    // A compositing manager owns the selection _NET_WM_CM_S<screen>; the
    // toolkit's windows start on the screen DISPLAY names.
    int screen = 0;
    char* host = nullptr;
    int display = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen) != 0)
        std::free(host);
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, quint16(name.size()), name.constData()), nullptr);
    if (!atom)
        return true;
    const xcb_atom_t selection = atom->atom;
    std::free(atom);
    if (selection == XCB_ATOM_NONE)
        return false; // no compositor has run on this display
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const bool owned = owner && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    return owned;
#else
    return true;
#endif
}

} // namespace

DragPictureShape::DragPictureShape(const QPixmap& picture) {
    if (picture.isNull() || !picture.hasAlphaChannel() || desktopBlendsWindows())
        return;
    // The picture's opaque part, as Qt itself would cut it, in the window's
    // logical pixels.
    QBitmap mask = picture.mask();
    const QSize logical = picture.deviceIndependentSize().toSize();
    if (mask.size() != logical)
        mask = QBitmap::fromPixmap(mask.scaled(logical));
    m_shape = QRegion(mask);
    if (!m_shape.isEmpty())
        qApp->installEventFilter(this);
}

bool DragPictureShape::eventFilter(QObject* watched, QEvent* event) {
    // The picture window is a bare top-level window that lets input through;
    // the program's own windows belong to widgets.
    if (event->type() == QEvent::Show && watched->isWindowType() &&
        !watched->inherits("QWidgetWindow")) {
        auto* window = static_cast<QWindow*>(watched);
        if (!window->parent() && window->flags().testFlag(Qt::WindowTransparentForInput))
            window->setMask(m_shape);
    }
    return false;
}

} // namespace navcal::platform
