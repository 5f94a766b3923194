#pragma once

#include <QString>

namespace navcal::platform {

// Writes `line` and a line break to stderr in the system's encoding, at once:
// the program may end right after it.
void writeErrorLine(const QString& line);

} // namespace navcal::platform
