#include "platform/StderrAside.h"

#include <QtGlobal>
#include <cstdio>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <unistd.h>
#endif

namespace navcal::platform {

StderrAside::StderrAside() {
#ifndef Q_OS_WIN
    std::fflush(stderr);
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nowhere < 0)
        return;
    m_saved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    if (m_saved >= 0 && ::dup2(nowhere, STDERR_FILENO) < 0) {
        ::close(m_saved);
        m_saved = -1;
    }
    ::close(nowhere);
#endif
}

StderrAside::~StderrAside() {
#ifndef Q_OS_WIN
    if (m_saved < 0)
        return;
    std::fflush(stderr);
    ::dup2(m_saved, STDERR_FILENO);
    ::close(m_saved);
#endif
}

} // namespace navcal::platform
