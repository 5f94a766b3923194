#include "yearout/DesktopPicture.h"

#include "app/Saver.h"
#include "design/RandomPalette.h"
#include "platform/CheckedWrite.h"
#include "platform/MusicSink.h"
#include "platform/UrlOpener.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QScreen>

namespace navcal::yearout {

namespace {

// A picture follows no link.
class NoBrowser final : public platform::UrlOpener {
  public:
    void open(const QUrl&) override {}
};

} // namespace

QImage todaysPicture(QSize devicePixels, const PictureServices& services) {
    const QScreen* primary = QGuiApplication::primaryScreen();
    const qreal ratio = primary ? primary->devicePixelRatio() : 1.0;
    design::MersenneRandom random;
    platform::SilentMusic silence;
    NoBrowser browser;
    app::SaverServices saverServices;
    saverServices.clock = services.clock;
    saverServices.random = &random;
    saverServices.music = &silence;
    saverServices.opener = &browser;
    saverServices.locale = services.locale;
    saverServices.userFolder = services.userFolder;
    saverServices.systemFolder = services.systemFolder;
    saverServices.programFolder = services.programFolder;
    saverServices.screenPixels = (QSizeF(devicePixels) / ratio).toSize();
    saverServices.endProgram = [](int) {};

    app::Saver saver(saverServices);
    QImage picture(devicePixels, QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    saver.drawStill(picture);
    picture.setDevicePixelRatio(1.0);
    return picture;
}

QByteArray pngOf(const QImage& picture) {
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    QImageWriter(&png, "png").write(picture);
    return png.data();
}

QString writePicture(const QString& file, const QImage& picture) {
    const QByteArray png = pngOf(picture);
    if (png.isEmpty())
        return QStringLiteral("the picture could not be encoded");
    return platform::writeWhole(file, png);
}

} // namespace navcal::yearout
