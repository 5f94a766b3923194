#include "app/CommandLine.h"

namespace navcal::app {

QString commandText(const QStringList& arguments) {
    return arguments.mid(1).join(QLatin1Char(' '));
}

LaunchMode decideLaunchMode(const QString& text) {
    const QString command = text.trimmed().toLower();
    if (command.size() < 2)
        return LaunchMode::Run;
    const QChar lead = command.at(0);
    if (lead != QLatin1Char('/') && lead != QLatin1Char('-'))
        return LaunchMode::Run;
    const QChar letter = command.at(1);
    if (letter == QLatin1Char('p')) {
        // The host's "/p" may carry anything after it. A dash form is only a
        // preview when a handle or nothing follows, so that toolkit-style
        // options such as "-platform x" stay ordinary text that runs.
        if (lead == QLatin1Char('/') || command.size() == 2)
            return LaunchMode::Preview;
        const QChar after = command.at(2);
        if (after == QLatin1Char(':') || after.isSpace() || after.isDigit())
            return LaunchMode::Preview;
        return LaunchMode::Run;
    }
    if (letter == QLatin1Char('c')) {
        if (command.size() == 2)
            return LaunchMode::Configure;
        const QChar after = command.at(2);
        if (after == QLatin1Char(':') || after.isSpace())
            return LaunchMode::Configure;
    }
    return LaunchMode::Run;
}

} // namespace navcal::app
