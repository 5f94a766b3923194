#include "platform/CheckedWrite.h"

#include "platform/SignalBridge.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <algorithm>
#include <optional>

#ifdef Q_OS_WIN
#include <cstdio>
#else
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace navcal::platform {

#ifdef Q_OS_WIN

QString writeWhole(const QString& file, const QByteArray& bytes) {
    if (file == QLatin1String("-")) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || out.write(bytes) != bytes.size() ||
            !out.flush())
            return out.errorString();
        return {};
    }
    if (QFileInfo(file).isDir())
        return QStringLiteral("Is a directory");
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        const QString why = out.errorString();
        out.cancelWriting();
        return why.isEmpty() ? QStringLiteral("not written") : why;
    }
    return {};
}

#else

namespace {

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// While a write is under way a file-size limit or a reader that went away is
// an error of the write (EFBIG, EPIPE) rather than the end of the program,
// which would leave the half-written file beside its place.
class QuietWriteSignals {
  public:
    QuietWriteSignals() {
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        ::sigaction(SIGPIPE, &ignore, &m_pipe);
        ::sigaction(SIGXFSZ, &ignore, &m_size);
    }
    ~QuietWriteSignals() {
        ::sigaction(SIGPIPE, &m_pipe, nullptr);
        ::sigaction(SIGXFSZ, &m_size, nullptr);
    }
    QuietWriteSignals(const QuietWriteSignals&) = delete;
    QuietWriteSignals& operator=(const QuietWriteSignals&) = delete;

  private:
    struct sigaction m_pipe = {};
    struct sigaction m_size = {};
};

// Why the write stops for a termination signal, or nothing.
QString terminated() {
    const int signalNumber = SignalBridge::arrivedSignal();
    return signalNumber ? QString::fromLocal8Bit(::strsignal(signalNumber)) : QString();
}

// Waits until `fd` takes more bytes (or, with `events` 0, for `ms`), or a
// termination signal arrives: then why it stops.
QString waitFor(int fd, short events, int ms) {
    pollfd watched[2] = {{fd, events, 0}, {SignalBridge::wakeDescriptor(), POLLIN, 0}};
    for (;;) {
        if (QString why = terminated(); !why.isEmpty())
            return why;
        const int ready = ::poll(watched, watched[1].fd >= 0 ? 2 : 1, ms);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return systemReason(errno);
        // A signal's byte stays in the pipe for the bridge; the flag says it.
        return terminated();
    }
}

// All of `bytes` into `fd`, in pieces a pipe or a terminal takes without
// blocking once it is ready, so that a signal is seen between them.
QString writeAll(int fd, const QByteArray& bytes, qsizetype piece) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        if (QString why = waitFor(fd, POLLOUT, -1); !why.isEmpty())
            return why;
        const ssize_t n =
            ::write(fd, bytes.constData() + done, size_t(std::min(piece, bytes.size() - done)));
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n < 0)
            return systemReason(errno);
        if (n == 0)
            return systemReason(EIO);
        done += n;
    }
    return {};
}

// Syncs what was written to a regular file; other files have nothing to sync.
QString sync(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return systemReason(errno);
    if (S_ISREG(info.st_mode) && ::fsync(fd) != 0 && errno != EINVAL)
        return systemReason(errno);
    return {};
}

QString closeChecked(int fd) {
    // Linux closes the descriptor even when close reports an error.
    if (::close(fd) != 0 && errno != EINTR)
        return systemReason(errno);
    return {};
}

// A named pipe, device or socket that exists: opened as a shell's ">" opens
// it. A pipe with no reader yet is waited for, a signal ending the wait.
QString writeInto(const QByteArray& path, const QByteArray& bytes, bool pipe) {
    int fd = -1;
    for (;;) {
        fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd >= 0)
            break;
        if (errno == EINTR)
            continue;
        // A pipe's open reports no reader at once when not blocking; the
        // reader's arrival wakes nothing, so it is looked for again.
        if (!(pipe && errno == ENXIO))
            return systemReason(errno);
        if (QString why = waitFor(-1, 0, 50); !why.isEmpty())
            return why;
    }
    QString why = writeAll(fd, bytes, PIPE_BUF);
    const QString closed = closeChecked(fd);
    return why.isEmpty() ? closed : why;
}

// A regular file: written beside its place, synced, and renamed over it.
QString replaceWhole(const QString& target, const QByteArray& bytes,
                     const std::optional<mode_t>& keptMode) {
    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    int fd = -1;
    QByteArray temporary;
    for (int attempt = 0; fd < 0; ++attempt) {
        temporary = QFile::encodeName(
            folder + QStringLiteral("/.%1.%2")
                         .arg(info.fileName())
                         .arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0')));
        fd =
            ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd < 0 && !(errno == EEXIST && attempt < 16) && errno != EINTR)
            return systemReason(errno);
    }
    QString why;
    if (keptMode && ::fchmod(fd, *keptMode) != 0)
        why = systemReason(errno);
    if (why.isEmpty())
        why = writeAll(fd, bytes, 1 << 16);
    if (why.isEmpty())
        why = sync(fd);
    if (const QString closed = closeChecked(fd); why.isEmpty())
        why = closed;
    if (why.isEmpty())
        why = terminated();
    if (why.isEmpty() && ::rename(temporary.constData(),
                                  QFile::encodeName(info.absoluteFilePath()).constData()) != 0)
        why = systemReason(errno);
    if (!why.isEmpty()) {
        ::unlink(temporary.constData());
        return why;
    }
    // The rename itself lasts once the folder is synced.
    const int folderFd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return {};
}

} // namespace

QString writeWhole(const QString& file, const QByteArray& bytes) {
    const QuietWriteSignals quiet;
    if (file == QLatin1String("-")) {
        QString why = writeAll(STDOUT_FILENO, bytes, PIPE_BUF);
        return why.isEmpty() ? sync(STDOUT_FILENO) : why;
    }
    const QByteArray path = QFile::encodeName(file);
    struct stat info {};
    if (::stat(path.constData(), &info) != 0) {
        if (errno != ENOENT)
            return systemReason(errno);
        // Nothing there, or a link to nothing: the file is made where the
        // link points.
        const QFileInfo link(file);
        return replaceWhole(link.isSymLink() ? link.symLinkTarget() : file, bytes, std::nullopt);
    }
    if (S_ISDIR(info.st_mode))
        return systemReason(EISDIR);
    if (!S_ISREG(info.st_mode))
        return writeInto(path, bytes, S_ISFIFO(info.st_mode));
    return replaceWhole(QFileInfo(file).canonicalFilePath(), bytes, info.st_mode & 07777);
}

#endif

} // namespace navcal::platform
