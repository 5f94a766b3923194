#include "platform/SafeFile.h"

#include <QFile>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace navcal::platform {

#ifdef Q_OS_WIN

std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes) {
    // Windows has no pipes or devices under ordinary file names, and an open
    // handle is not inherited unless asked for.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.isSequential())
        return std::nullopt;
    const qint64 size = file.size();
    if (size < 0 || size > maxBytes)
        return std::nullopt;
    QByteArray bytes = file.read(size);
    if (bytes.size() != size)
        return std::nullopt;
    return bytes;
}

#else

std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes) {
    if (path.isEmpty())
        return std::nullopt;
    // O_NONBLOCK: opening a pipe without a writer returns at once.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> result;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= maxBytes) {
        QByteArray bytes(qsizetype(info.st_size), Qt::Uninitialized);
        qsizetype done = 0;
        // A file that shrinks meanwhile ends early; one that grows is cut at
        // the size it had when checked.
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += n;
        }
        if (done == bytes.size())
            result = std::move(bytes);
    }
    ::close(fd);
    return result;
}

#endif

} // namespace navcal::platform
