#pragma once

// Files a test lays out for the code under test to find.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace navcal::test {

// Writes `bytes` to `path`, replacing what stood there; whether all of them
// were written.
inline bool writeFile(const QString& path, const QByteArray& bytes = "x") {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace navcal::test
