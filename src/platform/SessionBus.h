#pragma once

namespace navcal::platform {

// For a run inside a window lent by a screensaver host, which must leave
// nothing behind. Accessibility asks for the session bus; with none named in
// the environment the D-Bus library would start one for the X display, which
// writes into the home and outlives the run. With no bus named and none at its
// standard place in the runtime folder, the library is pointed at no bus at
// all. A bus that is there is used as before. Call before the toolkit starts.
void leaveTheSessionBusUnstarted();

} // namespace navcal::platform
