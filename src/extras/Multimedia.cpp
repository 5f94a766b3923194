#include "extras/Multimedia.h"

namespace navcal::extras {

QString playCommand(const QString& musicPath) {
    return QStringLiteral("play \"") + musicPath.trimmed() + QLatin1Char('"');
}

QString stopCommand(const QString& musicPath) {
    return QStringLiteral("stop \"") + musicPath.trimmed() + QLatin1Char('"');
}

} // namespace navcal::extras
