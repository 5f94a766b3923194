#pragma once

#include "app/CommandLine.h"
#include "yearout/DesktopPicture.h"

#include <QSize>
#include <QString>
#include <vector>

namespace navcal::yearout {

// A monitor the picture is made for: its name as the toolkit gives it, and
// its size in device pixels.
struct Monitor {
    QString name;
    QSize pixels;
};

struct WallpaperServices {
    PictureServices picture;
    QString program; // this program, which the daily refresh runs
    // The monitors now, the primary first; empty without a display, when
    // those of the last run are used.
    std::vector<Monitor> monitors;
};

// Today's calendar as the desktop's background, as `request` asks: one
// picture per monitor size in the user's folder, shown by the running
// desktop, and a refresh the system runs each day and at each logon; "off"
// puts back what the desktop showed before and removes all of it. What the
// desktop showed first, what this program set and the monitors' sizes are
// kept in a small file beside the pictures. Returns the exit code: 0 done,
// 1 with one line on stderr. Needs the application object.
int wallpaper(const app::WallpaperRequest& request, const WallpaperServices& services);

// When the user has made the calendar their background, starts `program`'s
// refresh of it as a process of its own, which ends when done: for a run of
// the saver, which must not wait on a render.
void refreshAside(const QString& userFolder, const QString& program);

} // namespace navcal::yearout
