#include "platform/ErrorLine.h"

#include <cstdio>

namespace navcal::platform {

void writeErrorLine(const QString& line) {
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace navcal::platform
