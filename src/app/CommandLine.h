#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace navcal::app {

enum class LaunchMode {
    Run,       // show the calendar full screen
    Configure, // answer with the "nothing to configure" notice and end
    Preview,   // end at once, draw nothing
};

// Joins the program's arguments (everything after its own path) into the
// command text the screensaver host meant.
QString commandText(const QStringList& arguments);

// Decides what the host asked for. A switch may begin with '/' or '-';
// "c" alone or followed by ':' or a blank is a configure request; "/p" followed
// by anything (or "-p" alone or followed by ':', a blank or a digit) is a
// preview; everything else runs.
LaunchMode decideLaunchMode(const QString& commandText);

// The window handle a host's "/p" or "/c" switch carries ("/p 1234",
// "/p:1234", "/c:1234"): decimal, non-zero, at most 32 bits (the significant
// part of every window handle). None when there is no such switch or the
// handle is missing or malformed.
std::optional<quint32> hostHandle(const QString& commandText);

} // namespace navcal::app
