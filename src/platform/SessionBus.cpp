#include "platform/SessionBus.h"

#include <QByteArray>
#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <sys/stat.h>
#endif

namespace navcal::platform {

void leaveTheSessionBusUnstarted() {
#ifdef Q_OS_LINUX
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    // The user's bus at $XDG_RUNTIME_DIR/bus is found by the library without
    // starting anything.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (!runtime.isEmpty() && ::stat((runtime + "/bus").constData(), &info) == 0 &&
        S_ISSOCK(info.st_mode))
        return;
    // A socket address where no socket can be: connecting fails at once and
    // nothing is started or written.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/dev/null");
#endif
}

} // namespace navcal::platform
