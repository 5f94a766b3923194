// Becomes a program and reports how long it took to map its first top-level
// window on the X display named by DISPLAY: the milliseconds from just
// before the program's start are written to RESULT_FILE ("-1" when nothing
// was mapped in time). The process started as the watcher turns into the
// program itself, so whoever started it can signal and wait for it; a forked
// watcher does the watching.
//
//   compare_mapwatch RESULT_FILE TIMEOUT_MS PROGRAM [ARGS...]

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <poll.h>
#include <unistd.h>

namespace {

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

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
    double result = -1;
    while (result < 0 && nowMs() - start < timeout) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            const bool mapped =
                (event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
            std::free(event);
            if (mapped) {
                result = nowMs() - start;
                break;
            }
        }
        if (xcb_connection_has_error(c))
            break;
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, 5);
    }
    if (FILE* out = std::fopen(resultFile, "w")) {
        std::fprintf(out, "%.1f\n", result);
        std::fclose(out);
    }
    return result < 0 ? 1 : 0;
}
