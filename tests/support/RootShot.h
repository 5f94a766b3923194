#pragma once

#include <QImage>
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

} // namespace navcal::test
