#include "app/BackgroundDecode.h"

#include "platform/SafeFile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cmath>

namespace navcal::app {

namespace {

// A JPEG decoder fills a cut-off file with grey and reports success; a whole
// file ends with the end-of-image marker (padding after it aside).
bool jpegIsComplete(const QByteArray& bytes) {
    qsizetype end = bytes.size();
    while (end > 0 &&
           (bytes.at(end - 1) == '\0' || bytes.at(end - 1) == '\n' || bytes.at(end - 1) == '\r'))
        --end;
    return end >= 4 && uchar(bytes.at(end - 2)) == 0xFF && uchar(bytes.at(end - 1)) == 0xD9;
}

// Photo formats only: a vector or document format can name other files
// (pipes included) and cost unbounded time and memory.
bool isPhotoFormat(const QByteArray& format) {
    return format == "jpeg" || format == "png" || format == "bmp" || format == "gif";
}

} // namespace

std::optional<QImage> loadBackgroundPicture(const QString& path, qint64 maxPixels) {
    std::optional<QByteArray> bytes = platform::readRegularFile(path, kMaxBackgroundFileBytes);
    if (!bytes || bytes->isEmpty())
        return std::nullopt;
    QBuffer buffer(&*bytes);
    buffer.open(QIODevice::ReadOnly);

    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QByteArray format = reader.format();
    if (!isPhotoFormat(format))
        return std::nullopt;
    // The header tells the size before anything is decoded.
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return std::nullopt;
    const qint64 pixels = qint64(size.width()) * size.height();
    // Only the JPEG decoder really decodes at a reduced size (down to an
    // eighth of each side); the others decode whole and scale afterwards.
    const qint64 decodedPixels = format == "jpeg" ? pixels / 64 : pixels;
    maxPixels = std::max<qint64>(maxPixels, 1);
    if (pixels > maxPixels) {
        if (decodedPixels > kMaxUnscaledPixels)
            return std::nullopt;
        const double factor = std::sqrt(double(maxPixels) / double(pixels));
        reader.setScaledSize(QSize(std::max(1, int(size.width() * factor)),
                                   std::max(1, int(size.height() * factor))));
    }
    if (format == "jpeg" && !jpegIsComplete(*bytes))
        return std::nullopt;
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return std::nullopt;
    return image;
}

void limitPictureDecoding() {
    // A backstop for whatever a header did not tell.
    QImageReader::setAllocationLimit(int((kMaxUnscaledPixels * 4) / (1024 * 1024)) + 8);
}

QImage shrunkTo(const QImage& picture, QSize size) {
    if (picture.isNull() || size.isEmpty() || picture.size() == size ||
        size.width() > picture.width() || size.height() > picture.height())
        return picture;
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage storedPictureFor(const QString& resourcePath, QSize size) {
    QImageReader reader(resourcePath);
    const QSize stored = reader.size();
    // Only a picture at least twice the window's size is shrunk by the
    // decoder (a JPEG in its DCT, at a fraction of the work). Below that the
    // decoder's own scaling would differ from the window's smooth scaling.
    if (stored.isValid() && !size.isEmpty() && size.width() * 2 <= stored.width() &&
        size.height() * 2 <= stored.height())
        reader.setScaledSize(size);
    QImage picture;
    if (!reader.read(&picture))
        return {};
    return shrunkTo(picture, size);
}

QImage backgroundFor(const QStringList& folders, const QString& storedPicture, QSize pixels) {
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        const QString path = QDir(folder).filePath(QStringLiteral("1.jpg"));
        const QFileInfo entry(path);
        if (!entry.exists() && !entry.isSymLink())
            continue;
        if (const auto found =
                loadBackgroundPicture(path, qint64(pixels.width()) * pixels.height()))
            return shrunkTo(*found, pixels);
        break;
    }
    return storedPictureFor(storedPicture, pixels);
}

} // namespace navcal::app
