#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace navcal::platform {

// Reads a file from a user's folder: opened once, checked on that descriptor
// (a regular file, links followed, no larger than `maxBytes`), read from that
// descriptor and closed. Never blocks on a pipe or a device, and the
// descriptor is never inherited. Nothing when any check fails.
std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes);

} // namespace navcal::platform
