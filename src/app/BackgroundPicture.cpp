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
    const QFileInfo info(path);
    // Follow a link, then accept only a regular file: a pipe or a device could
    // block or never end.
    const QFileInfo target(info.isSymLink() ? info.symLinkTarget() : path);
    if (!target.exists() || !target.isFile() || target.size() <= 0 ||
        target.size() > kMaxBackgroundFileBytes)
        return std::nullopt;

    QFile file(target.absoluteFilePath());
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
    QImageReader::setAllocationLimit(int(qint64(kMaxBackgroundPixels) * 4 / (1024 * 1024)) + 1);
    if (reader.format() == "jpeg" && !jpegIsComplete(bytes))
        return std::nullopt;
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return std::nullopt;
    return image;
}

} // namespace navcal::app
