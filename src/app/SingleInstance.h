#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace navcal::app {

// One copy of the saver per user. The lock is a file in the user's runtime
// directory that names the owning process, so a copy that crashed or was
// killed leaves a stale lock that the next start takes over.
class SingleInstance {
  public:
    explicit SingleInstance(const QString& lockPath = defaultLockPath());
    // True when this process now holds the lock.
    bool acquire();

    static QString defaultLockPath();

  private:
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace navcal::app
