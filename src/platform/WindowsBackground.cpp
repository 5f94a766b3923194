// Windows: one picture for the whole desktop, set through the system's
// parameters and saved in the user's profile for the next logon; how it is
// fitted is the profile's own setting beside it.

#include "platform/DesktopBackground.h"

#ifdef Q_OS_WIN

#include <QDir>
#include <QSettings>
#include <windows.h>

namespace navcal::platform {

namespace {

const QString kDesktopKey = QStringLiteral("HKEY_CURRENT_USER\\Control Panel\\Desktop");
const QString kStyle = QStringLiteral("WallpaperStyle");
const QString kTile = QStringLiteral("TileWallpaper");
const QString kWallpaper = QStringLiteral("Wallpaper");

bool setWallpaper(const QString& file) {
    std::wstring path = QDir::toNativeSeparators(file).toStdWString();
    return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(),
                                 SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != 0;
}

class WindowsBackground final : public DesktopBackground {
  public:
    // "Wallpaper PATH", then the fitting's two values.
    std::optional<QStringList> shown(QString* error) const override {
        wchar_t path[1024] = {};
        if (!SystemParametersInfoW(SPI_GETDESKWALLPAPER, 1024, path, 0)) {
            *error = QStringLiteral("the desktop's background cannot be read (error %1)")
                         .arg(GetLastError());
            return std::nullopt;
        }
        QSettings desktop(kDesktopKey, QSettings::NativeFormat);
        return QStringList{kWallpaper + QLatin1Char(' ') + QString::fromWCharArray(path),
                           kStyle + QLatin1Char(' ') + desktop.value(kStyle).toString(),
                           kTile + QLatin1Char(' ') + desktop.value(kTile).toString()};
    }

    // Stretched to fill the screen, keeping its proportions, not tiled.
    bool show(const std::vector<MonitorPicture>& pictures, QString* error) const override {
        QSettings desktop(kDesktopKey, QSettings::NativeFormat);
        const QVariant style = desktop.value(kStyle), tile = desktop.value(kTile);
        desktop.setValue(kStyle, QStringLiteral("10"));
        desktop.setValue(kTile, QStringLiteral("0"));
        desktop.sync();
        if (setWallpaper(pictures.front().file))
            return true;
        *error = QStringLiteral("Windows did not take the picture (error %1)").arg(GetLastError());
        desktop.setValue(kStyle, style);
        desktop.setValue(kTile, tile);
        return false;
    }

    bool restore(const QStringList& kept, QString* error) const override {
        QSettings desktop(kDesktopKey, QSettings::NativeFormat);
        QString wallpaper;
        for (const QString& line : kept) {
            const QString name = line.section(QLatin1Char(' '), 0, 0);
            const QString value = line.section(QLatin1Char(' '), 1);
            if (name == kWallpaper)
                wallpaper = value;
            else if ((name == kStyle || name == kTile) && !value.isEmpty())
                desktop.setValue(name, value);
        }
        desktop.sync();
        if (setWallpaper(wallpaper))
            return true;
        *error = QStringLiteral("Windows did not take the background back (error %1)")
                     .arg(GetLastError());
        return false;
    }
};

} // namespace

std::unique_ptr<DesktopBackground> windowsBackground() {
    return std::make_unique<WindowsBackground>();
}

} // namespace navcal::platform

#endif
