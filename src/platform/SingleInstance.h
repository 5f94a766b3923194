#pragma once

#include "platform/SingleCopyLock.h"

#include <QString>

namespace navcal::platform {

// One copy of the saver per user, held by a lock the system releases when
// the copy ends, so a crash or a kill never keeps the next start from
// running. Where no lock of this user's alone can be had, the saver runs
// unguarded rather than share one with other users.
class SingleInstance {
  public:
    // `folder` empty: the platform's per-user folder.
    explicit SingleInstance(QString folder = {}) : m_folder(std::move(folder)) {}
    // True when this copy may run: it holds the lock, or there is none to hold.
    bool acquire();
    // Lets the lock go as the saver ends.
    void release() { m_lock.release(); }

  private:
    QString m_folder;
    platform::SingleCopyLock m_lock;
};

} // namespace navcal::platform
