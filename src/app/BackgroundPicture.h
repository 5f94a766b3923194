#pragma once

#include <QImage>
#include <QString>
#include <optional>

namespace navcal::app {

inline constexpr qint64 kDefaultBackgroundPixels = 1920 * 1200;
// Formats whose decoder cannot shrink while decoding are taken whole up to
// this size only (~64 MB decoded, 32-bit); a JPEG is decoded at no less than
// an eighth of its sides, so the same bound holds for that eighth.
inline constexpr qint64 kMaxUnscaledPixels = 16'000'000;
inline constexpr qint64 kMaxBackgroundFileBytes = 64 * 1024 * 1024;

// Reads the optional background picture: a JPEG, PNG, BMP or GIF photo, never
// a format that can name other files. A picture larger than `maxPixels` is
// decoded at a reduced size with its proportions kept (the window stretches
// it anyway). Anything else (missing, empty, truncated, not a picture, a
// device, a pipe, a decompression bomb) gives nothing, quickly and without a
// large allocation.
std::optional<QImage> loadBackgroundPicture(const QString& path,
                                            qint64 maxPixels = kDefaultBackgroundPixels);

} // namespace navcal::app
