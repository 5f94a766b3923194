#pragma once

#include <QString>
#include <optional>

namespace navcal::extras {

// Carries out one multimedia command text ("play \"…\"", "stop \"…\"").
// The result is never looked at by the program.
class MultimediaCommandSink {
  public:
    virtual ~MultimediaCommandSink() = default;
    virtual void execute(const QString& command) = 0;
};

// Takes every command and sounds nothing: a run inside a screensaver host's
// window is silent.
class SilentMultimedia final : public MultimediaCommandSink {
  public:
    void execute(const QString&) override {}
};

QString playCommand(const QString& musicPath);
QString stopCommand(const QString& musicPath);

// A command text taken apart: the verb and the quoted file name.
struct MultimediaCommand {
    enum class Verb { Play, Stop };
    Verb verb;
    QString path;
    bool operator==(const MultimediaCommand&) const = default;
};

// Reads "play \"<path>\"" or "stop \"<path>\"" (verb in any letter case, as
// the multimedia interface takes it); anything else, an empty path included,
// is no command.
std::optional<MultimediaCommand> parseMultimediaCommand(const QString& text);

} // namespace navcal::extras
