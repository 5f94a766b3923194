#include "app/BackgroundPicture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace navcal::app {

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
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return std::nullopt;
    return image;
}

} // namespace navcal::app
