#pragma once

#include <QString>

namespace navcal::extras {

// Carries out one multimedia command text ("play \"…\"", "stop \"…\"").
// The result is never looked at by the program.
class MultimediaCommandSink {
public:
    virtual ~MultimediaCommandSink() = default;
    virtual void execute(const QString& command) = 0;
};

QString playCommand(const QString& musicPath);
QString stopCommand(const QString& musicPath);

} // namespace navcal::extras
