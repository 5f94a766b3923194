#pragma once

#include <QString>

namespace navcal::platform {

// A lock that only one process of this user can hold and that the system
// releases when its holder ends, however it ends: nothing is left that could
// keep a later copy from starting. On Unix an flock() on "navcal.lock" in a
// folder that belongs to this user alone; the file is never deleted. On
// Windows a named mutex of the user's session.
class SingleCopyLock {
  public:
    enum class Result {
        Acquired,   // this process holds the lock now
        Busy,       // another process holds it
        Unavailable // no place this user alone controls: no lock can be had
    };

    SingleCopyLock() = default;
    ~SingleCopyLock();
    SingleCopyLock(const SingleCopyLock&) = delete;
    SingleCopyLock& operator=(const SingleCopyLock&) = delete;

    // Takes the lock in `folder`, which must be a directory (not a link) that
    // this user owns and nobody else may enter or write.
    Result acquireIn(const QString& folder);
    // Takes the lock in defaultFolder().
    Result acquire();
    // Lets the lock go, if held: the next copy may start.
    void release();

    // The runtime folder when it is this user's alone, else a folder
    // "navcal-<uid>" of the temporary folder, made if missing; empty when
    // neither can be had.
    static QString defaultFolder();

  private:
#ifdef Q_OS_WIN
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

} // namespace navcal::platform
