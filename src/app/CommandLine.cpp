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

std::optional<ExportRequest> exportRequest(const QStringList& arguments) {
    using Form = ExportRequest::Form;
    if (arguments.size() < 2)
        return std::nullopt;
    const QString& name = arguments.at(1);
    ExportRequest request;
    if (name == QLatin1String("--ics"))
        request.form = Form::ICalendar;
    else if (name == QLatin1String("--pdf"))
        request.form = Form::Pdf;
    else
        return std::nullopt;
    const QStringList rest = arguments.mid(2);
    const qsizetype most = request.form == Form::Pdf ? 2 : 1;
    if (rest.isEmpty() || rest.first().isEmpty()) {
        request.error = QStringLiteral("navcal: %1 needs a FILE to write (- for standard output, "
                                       "--open for the documents folder)")
                            .arg(name);
    } else if (rest.size() > most) {
        request.error =
            QStringLiteral("navcal: %1 takes %2; \"%3\" is one argument too many")
                .arg(name,
                     most == 1 ? QStringLiteral("one FILE") : QStringLiteral("a FILE and a YEAR"),
                     rest.at(most));
    } else if (rest.size() == 2) {
        const QString& text = rest.at(1);
        bool number = text.size() == 4 &&
                      std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
        const int year = number ? text.toInt(&number) : 0;
        if (!number || year < kFirstExportYear || year > kLastExportYear)
            request.error =
                QStringLiteral("navcal: --pdf: the year \"%1\" is not one from %2 to %3")
                    .arg(text)
                    .arg(kFirstExportYear)
                    .arg(kLastExportYear);
        request.year = year;
    }
    if (request.error.isEmpty()) {
        request.open = rest.first() == QLatin1String("--open");
        if (!request.open)
            request.file = rest.first();
    }
    return request;
}

} // namespace navcal::app
