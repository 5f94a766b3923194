#pragma once

class QString;

namespace navcal::platform {

// Settles how the windows' pixels will reach the display; called before the
// application connects to it. On X11 they travel by shared memory unless the
// user chose otherwise. Then the toolkit waits for the server (a round trip)
// before each repaint of a rectangle it has sent before: for a clock
// repainted every second that is several extra wake-ups a second. Sent over
// the connection, an idle second's few pixels cost less, and a whole frame
// costs no more as long as it fits in one request. With a larger monitor (a
// frame sent in pieces costs a copy the size of a request, and time) shared
// memory stays. Elsewhere nothing changes.
// False, with one line for the user in `error`, when the run can only use
// X11 and the display cannot be opened.
bool prepareDisplayConnection(QString* error);

// The line for a user whose X display (DISPLAY) cannot be opened.
QString displayUnavailable();

} // namespace navcal::platform
