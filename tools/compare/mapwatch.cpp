// Becomes a program and reports how long it took to map its first top-level
// window on the X display named by DISPLAY, and how long until that window's
// whole area had been drawn (the first frame on the screen, told by the X
// server's damage reports): "mapped_ms frame_ms", in milliseconds from just
// before the program's start, are written to RESULT_FILE ("-1" for what did
// not happen in time). The process started as the watcher turns into the
// program itself, so whoever started it can signal and wait for it; a forked
// watcher does the watching.
//
//   compare_mapwatch RESULT_FILE TIMEOUT_MS PROGRAM [ARGS...]

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <poll.h>
#include <unistd.h>
#include <vector>

namespace {

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Which 16-pixel cells of a window have been drawn: coarse, but a first
// frame covers the whole window, so only the count of cells matters.
struct Coverage {
    int columns = 0, rows = 0, left = 0;
    std::vector<bool> drawn;
    void reset(int width, int height) {
        columns = (width + 15) / 16;
        rows = (height + 15) / 16;
        drawn.assign(size_t(columns) * rows, false);
        left = columns * rows;
    }
    // Cells wholly inside the rectangle, or cut by the window's own edge.
    void add(const xcb_rectangle_t& r, int width, int height) {
        const int right = r.x + r.width, bottom = r.y + r.height;
        for (int row = (r.y + 15) / 16; row < rows; ++row) {
            if (std::min(row * 16 + 16, height) > bottom)
                break;
            for (int column = (r.x + 15) / 16; column < columns; ++column) {
                if (std::min(column * 16 + 16, width) > right)
                    break;
                if (!drawn[size_t(row) * columns + column]) {
                    drawn[size_t(row) * columns + column] = true;
                    --left;
                }
            }
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s RESULT_FILE TIMEOUT_MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const char* resultFile = argv[1];
    const double timeout = std::atof(argv[2]);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    // Watching starts before the program does, so no map can be missed.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_void_cookie_t cookie =
        xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask);
    if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
        std::free(error);
        return 2;
    }
    // Every top-level window gets a damage report from its creation on, so
    // that no drawing before the map is missed.
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c, &xcb_damage_id);
    if (!damage || !damage->present)
        return 2;
    std::free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
    const double start = nowMs();
    const pid_t watcher = fork();
    if (watcher < 0)
        return 2;
    if (watcher != 0) {
        close(xcb_get_file_descriptor(c));
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    const int fd = xcb_get_file_descriptor(c);
    double mapped = -1, frame = -1;
    xcb_window_t window = 0;
    int width = 0, height = 0;
    Coverage coverage;
    while (frame < 0 && nowMs() - start < timeout) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
                if (!created->override_redirect)
                    xcb_damage_create(c, xcb_generate_id(c), created->window,
                                      XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
                xcb_flush(c);
            } else if (type == XCB_MAP_NOTIFY && mapped < 0) {
                auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (!map->override_redirect) {
                    mapped = nowMs() - start;
                    window = map->window;
                }
            } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY && mapped >= 0) {
                auto* d = reinterpret_cast<xcb_damage_notify_event_t*>(event);
                if (d->drawable == window) {
                    if (d->geometry.width != width || d->geometry.height != height) {
                        width = d->geometry.width;
                        height = d->geometry.height;
                        coverage.reset(width, height);
                    }
                    coverage.add(d->area, width, height);
                    if (coverage.left == 0) {
                        frame = nowMs() - start;
                        std::free(event);
                        break;
                    }
                }
            }
            std::free(event);
        }
        if (xcb_connection_has_error(c))
            break;
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, 5);
    }
    if (FILE* out = std::fopen(resultFile, "w")) {
        std::fprintf(out, "%.1f %.1f\n", mapped, frame);
        std::fclose(out);
    }
    return frame < 0 ? 1 : 0;
}
