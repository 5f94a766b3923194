#include "platform/SingleCopyLock.h"

#include <QDir>
#include <QFile>
#include <utility>

#ifdef Q_OS_WIN
#include <QCryptographicHash>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace navcal::platform {

#ifdef Q_OS_WIN

void SingleCopyLock::release() {
    if (m_handle != nullptr)
        CloseHandle(HANDLE(std::exchange(m_handle, nullptr)));
}

SingleCopyLock::Result SingleCopyLock::acquireIn(const QString& folder) {
    if (m_handle != nullptr)
        return Result::Acquired;
    // "Local\" names live in the user's own session; the folder only tells
    // separate locks apart.
    QString name = QStringLiteral("Local\\navcal-single-copy");
    if (!folder.isEmpty())
        name += QLatin1Char('-') +
                QString::fromLatin1(
                    QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex());
    HANDLE handle = CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(name.utf16()));
    if (handle == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED ? Result::Busy : Result::Unavailable;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(handle);
        return Result::Busy;
    }
    m_handle = handle;
    return Result::Acquired;
}

QString SingleCopyLock::defaultFolder() {
    return {};
}

#else

namespace {

// A folder this user alone controls, checked on the opened folder itself.
int openPrivateFolder(const QString& folder) {
    if (folder.isEmpty() || QDir::isRelativePath(folder))
        return -1;
    const int fd = ::open(QFile::encodeName(folder).constData(),
                          O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() ||
        (info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

void SingleCopyLock::release() {
    // Closing releases the lock; the file stays for the next copy.
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
}

SingleCopyLock::Result SingleCopyLock::acquireIn(const QString& folder) {
    if (m_fd >= 0)
        return Result::Acquired;
    const int dir = openPrivateFolder(folder);
    if (dir < 0)
        return Result::Unavailable;
    // O_NONBLOCK and O_NOFOLLOW: whatever stands under the name, nothing can
    // make the open wait or lead it elsewhere.
    const int fd =
        ::openat(dir, "navcal.lock",
                 O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0600);
    ::close(dir);
    if (fd < 0)
        return Result::Unavailable;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        ::close(fd);
        return Result::Unavailable;
    }
    int rc;
    do
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? Result::Busy : Result::Unavailable;
    }
    m_fd = fd;
    return Result::Acquired;
}

QString SingleCopyLock::defaultFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (const int fd = openPrivateFolder(runtime); fd >= 0) {
        ::close(fd);
        return runtime;
    }
    // Made 0700 here; a name someone else took first fails the owner check.
    const QString own =
        QDir(QDir::tempPath()).filePath(QStringLiteral("navcal-%1").arg(uint(::geteuid())));
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    if (const int fd = openPrivateFolder(own); fd >= 0) {
        ::close(fd);
        return own;
    }
    return {};
}

#endif

SingleCopyLock::~SingleCopyLock() {
    release();
}

SingleCopyLock::Result SingleCopyLock::acquire() {
#ifdef Q_OS_WIN
    return acquireIn({});
#else
    return acquireIn(defaultFolder());
#endif
}

} // namespace navcal::platform
