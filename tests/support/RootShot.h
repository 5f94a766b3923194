#pragma once

#include <QImage>
#include <QScopeGuard>
#include <QString>
#include <xcb/xcb.h>

#include <cstdlib>

namespace navcal::test {

// The whole root window of an X screen, read straight from the server: a
// grabbing tool would wait out the pointer grab a drag holds.
inline QImage grabRoot(xcb_connection_t* c, const xcb_screen_t* screen) {
    xcb_get_image_reply_t* reply =
        xcb_get_image_reply(c,
                            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, 0, 0,
                                          screen->width_in_pixels, screen->height_in_pixels, ~0u),
                            nullptr);
    if (!reply)
        return {};
    const QImage image = QImage(xcb_get_image_data(reply), screen->width_in_pixels,
                                screen->height_in_pixels, QImage::Format_RGB32)
                             .copy();
    std::free(reply);
    return image;
}

// The whole display as the user sees it, read straight from the server.
inline QImage screenshot(const QString& display) {
    xcb_connection_t* c = xcb_connect(qPrintable(display), nullptr);
    auto disconnect = qScopeGuard([c] { xcb_disconnect(c); });
    if (xcb_connection_has_error(c))
        return {};
    return grabRoot(c, xcb_setup_roots_iterator(xcb_get_setup(c)).data);
}

} // namespace navcal::test
