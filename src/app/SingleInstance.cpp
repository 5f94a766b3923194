#include "app/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace navcal::app {

SingleInstance::SingleInstance(const QString& lockPath)
    : m_lock(std::make_unique<QLockFile>(lockPath)) {
    // Never let age alone make a lock stale: a saver runs for hours. A lock
    // is stale only when its process is gone (QLockFile checks the PID).
    m_lock->setStaleLockTime(0);
}

bool SingleInstance::acquire() {
    return m_lock->tryLock(0);
}

QString SingleInstance::defaultLockPath() {
#ifdef Q_OS_WIN
    // Windows has no runtime folder of its own (Qt answers with the home
    // folder): the user's temporary folder serves.
    QString folder = QDir::tempPath();
#else
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
#endif
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("navcal.lock"));
}

} // namespace navcal::app
