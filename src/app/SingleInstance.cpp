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
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("navcal.lock"));
}

} // namespace navcal::app
