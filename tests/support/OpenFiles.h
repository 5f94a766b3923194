#pragma once

// What this process holds open, from /proc: descriptor number and target.

#include <QDir>
#include <QFile>
#include <QList>
#include <QPair>

namespace navcal::test {

inline QList<QPair<int, QString>> openFiles() {
    QList<QPair<int, QString>> files;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        files.append({fd.toInt(), QFile::symLinkTarget(fds.filePath(fd))});
    return files;
}

} // namespace navcal::test
