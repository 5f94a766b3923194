#pragma once

#include <QString>

namespace navcal::platform {

// Opens `file` with the desktop's program for its type (the shell on
// Windows, xdg-open on Linux) without waiting for it; false: none started.
bool openWithDesktop(const QString& file);

} // namespace navcal::platform
