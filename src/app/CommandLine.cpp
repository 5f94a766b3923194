#include "app/CommandLine.h"

#include <algorithm>

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

std::optional<quint32> hostHandle(const QString& text) {
    const QString command = text.trimmed().toLower();
    if (command.size() < 3 ||
        (command.at(0) != QLatin1Char('/') && command.at(0) != QLatin1Char('-')))
        return std::nullopt;
    if (command.at(1) != QLatin1Char('p') && command.at(1) != QLatin1Char('c'))
        return std::nullopt;
    qsizetype start = 2;
    if (command.at(start) == QLatin1Char(':'))
        ++start;
    while (start < command.size() && command.at(start).isSpace())
        ++start;
    const QString digits = command.mid(start);
    // Digits only: "+12", "0x1f" or "12abc" is no handle a host would pass.
    if (digits.isEmpty() || digits.size() > 10 ||
        !std::all_of(digits.begin(), digits.end(),
                     [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }))
        return std::nullopt;
    const qulonglong value = digits.toULongLong();
    if (value == 0 || value > 0xffffffffu)
        return std::nullopt;
    return quint32(value);
}

} // namespace navcal::app
