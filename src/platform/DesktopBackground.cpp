#include "platform/DesktopBackground.h"

#include <QtGlobal>

namespace navcal::platform {

QString runningDesktop() {
#ifdef Q_OS_WIN
    return QStringLiteral("Windows");
#else
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP");
#endif
}

std::unique_ptr<DesktopBackground> desktopBackground(const QString& desktop) {
#ifdef Q_OS_WIN
    if (desktop == QLatin1String("Windows"))
        return windowsBackground();
    return nullptr;
#else
    // The variable lists names, most specific first ("ubuntu:GNOME").
    for (const QString& name : desktop.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QString n = name.toLower();
        if (n == QLatin1String("xfce"))
            return xfceBackground();
        if (n == QLatin1String("kde"))
            return plasmaBackground();
        if (auto gsettings = gsettingsBackground(n))
            return gsettings;
    }
    return nullptr;
#endif
}

} // namespace navcal::platform
