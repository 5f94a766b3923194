#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
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

// Bounds what any picture decoder may allocate: the whole process's limit,
// set once at the program's start, before anything is decoded on any thread.
void limitPictureDecoding();

// `picture` shrunk to `size` with smooth scaling when it is at least that
// large both ways; otherwise unchanged (the window enlarges it as it draws).
QImage shrunkTo(const QImage& picture, QSize size);

// The picture stored with the program (a resource), decoded for a window of
// `size`: shrunk to it when larger (by the decoder itself when it is at least
// twice as large), else as stored.
QImage storedPictureFor(const QString& resourcePath, QSize size);

// The background of a window of `pixels`: `1.jpg` of the first of `folders`
// that holds an entry of that name, when it is a usable photo, shrunk to the
// window when larger; else the stored picture (a broken file is not passed
// over for another folder's). Empty folder names are skipped: they would make
// the file name relative.
QImage backgroundFor(const QStringList& folders, const QString& storedPicture, QSize pixels);

} // namespace navcal::app
