#pragma once

#include <QtGlobal>

namespace navcal::platform {

// Whether the system tells file names apart by letter case.
constexpr bool caseSensitiveFileNames() {
#ifdef Q_OS_WIN
    return false;
#else
    return true;
#endif
}

} // namespace navcal::platform
