#include "app/BackgroundPicture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

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

} // namespace

std::optional<QImage> loadBackgroundPicture(const QString& path) {
    // Only what ends at a regular file (QFileInfo follows links): a pipe or a
    // device could block or never end.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() <= 0 || info.size() > kMaxBackgroundFileBytes)
        return std::nullopt;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(kMaxBackgroundFileBytes);
    file.close();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);

    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    // The header tells the size before anything is decoded.
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > kMaxBackgroundPixels)
        return std::nullopt;
    if (reader.format() == "jpeg" && !jpegIsComplete(bytes))
        return std::nullopt;
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return std::nullopt;
    return image;
}

} // namespace navcal::app
