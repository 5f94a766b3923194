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

// The year written to a file instead of shown: "--ics FILE" or
// "--pdf FILE [YEAR]" as the whole command line. A screensaver host passes
// neither, so the host's switches above are read as before. In place of
// FILE, "--open" writes into the user's documents folder and opens the file
// there, as the desktop's menu entries do.
struct ExportRequest {
    enum class Form { ICalendar, Pdf };
    Form form = Form::ICalendar;
    QString file;              // "-": standard output; empty with `open`
    bool open = false;         // the documents folder, the file opened once written
    std::optional<int> year{}; // the printed year; none: this year
    QString error{};           // why the request cannot be met; then nothing else holds
};

// Years with four digits in the Gregorian calendar's own time.
inline constexpr int kFirstExportYear = 1583;
inline constexpr int kLastExportYear = 9999;

// None when the first argument is neither switch.
std::optional<ExportRequest> exportRequest(const QStringList& arguments);

} // namespace navcal::app
