#pragma once

#include <QProcessEnvironment>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

namespace navcal::app {

enum class LaunchMode {
    Run,       // show the calendar full screen
    Configure, // answer with the "nothing to configure" notice and end
    Preview,   // end at once, draw nothing
};

// A window a screensaver host lent to draw in: its id, or why the request
// cannot be followed.
struct HostWindowRequest {
    quint32 window = 0;
    QString error; // one line for stderr; empty when `window` is usable
};

// The year written to a file instead of shown: "--ics FILE", "--pdf FILE
// [YEAR]" or "--png FILE [WIDTHxHEIGHT]" as the whole command line. A
// screensaver host passes none of them, so its switches are read as before.
// In place of FILE, "--open" writes into the user's documents folder and
// opens the file there, as the desktop's menu entries do.
struct ExportRequest {
    enum class Form { ICalendar, Pdf, Png };
    Form form = Form::ICalendar;
    QString file;                // "-": standard output; empty with `open`
    bool open = false;           // the documents folder, the file opened once written
    std::optional<int> year{};   // the printed year; none: this year
    std::optional<QSize> size{}; // today's picture, in pixels; none: the screen's
    QString error{};             // why the request cannot be met; then nothing else holds
};

// Years with four digits in the Gregorian calendar's own time.
inline constexpr int kFirstExportYear = 1583;
inline constexpr int kLastExportYear = 9999;
// Today's picture, pixels a side: from a thumbnail's to an 8K screen's
// width, so that the picture and its background, both held whole, stay
// within a few hundred megabytes.
inline constexpr int kMinPictureSide = 160;
inline constexpr int kMaxPictureSide = 7680;

// Today's calendar as the desktop's background: "--wallpaper" sets it and
// keeps it current, "--wallpaper off" puts back what was there before, and
// "--wallpaper refresh" is the daily run that keeps it current.
struct WallpaperRequest {
    enum class Action { Set, Refresh, Off };
    Action action = Action::Set;
    QString error{}; // why the request cannot be met; then nothing else holds
};

// What the command line asks for, read once before anything is shown.
struct CommandLine {
    LaunchMode mode = LaunchMode::Run;
    // The host's window to draw in: XScreenSaver's on X11 ("-root",
    // "-window-id ID", XSCREENSAVER_WINDOW), the settings dialog's preview on
    // Windows ("/p HANDLE"). A hosted run always runs.
    std::optional<HostWindowRequest> hostWindow;
    // The window a configure request's notice stands over ("/c:HANDLE").
    std::optional<quint32> noticeOwner;
    // The year written to a file instead of shown.
    std::optional<ExportRequest> yearExport;
    // The desktop's background.
    std::optional<WallpaperRequest> wallpaper;
};

// Reads the program's arguments (its own path first) and the environment.
// A person's "--ics", "--pdf" and "--png" and the screensaver settings'
// switches ("/c", "/p", with '/' or '-' in any letter case) are read on every system,
// the window-lending host's ("-root", "-window-id") only where such a host
// exists; anything else runs.
CommandLine readCommandLine(const QStringList& arguments, const QProcessEnvironment& environment);

} // namespace navcal::app
