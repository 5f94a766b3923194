#pragma once

#include <QImage>
#include <QString>
#include <optional>

namespace navcal::app {

// Reads the optional background picture. Anything but a readable picture of
// sane size (missing, empty, truncated, not a picture, a device, a pipe, a
// decompression bomb) gives nothing, quickly and without a large allocation.
std::optional<QImage> loadBackgroundPicture(const QString& path);

inline constexpr int kMaxBackgroundPixels = 16'000'000; // ~64 MB decoded, 32-bit
inline constexpr qint64 kMaxBackgroundFileBytes = 64 * 1024 * 1024;

} // namespace navcal::app
