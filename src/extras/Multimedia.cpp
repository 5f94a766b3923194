#include "extras/Multimedia.h"

namespace navcal::extras {

QString playCommand(const QString& musicPath) {
    return QStringLiteral("play \"") + musicPath.trimmed() + QLatin1Char('"');
}

QString stopCommand(const QString& musicPath) {
    return QStringLiteral("stop \"") + musicPath.trimmed() + QLatin1Char('"');
}

std::optional<MultimediaCommand> parseMultimediaCommand(const QString& text) {
    static constexpr qsizetype kVerbLength = 5; // "play " and "stop " alike
    MultimediaCommand command{MultimediaCommand::Verb::Play, {}};
    const QStringView verb = QStringView(text).left(kVerbLength);
    if (verb.compare(u"play ", Qt::CaseInsensitive) == 0)
        command.verb = MultimediaCommand::Verb::Play;
    else if (verb.compare(u"stop ", Qt::CaseInsensitive) == 0)
        command.verb = MultimediaCommand::Verb::Stop;
    else
        return std::nullopt;

    // The file name is quoted as a whole; nothing may follow the closing quote.
    // Quotes inside belong to the name: a folder may have one in its name.
    const QStringView quoted = QStringView(text).mid(kVerbLength);
    if (quoted.size() < 3 || quoted.front() != u'"' || quoted.back() != u'"')
        return std::nullopt;
    const QStringView path = quoted.mid(1, quoted.size() - 2);
    command.path = path.toString();
    return command;
}

} // namespace navcal::extras
