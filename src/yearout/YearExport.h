#pragma once

#include "app/CommandLine.h"
#include "calendar/Clock.h"

#include <QLocale>
#include <QString>
#include <functional>

namespace navcal::yearout {

// What writing the year out needs from outside.
struct ExportServices {
    const calendar::Clock* clock = nullptr; // this year, and the file's time stamp
    QLocale locale;
    QString userFolder;   // the user's holidays.txt and 1.jpg; empty: none
    QString systemFolder; // a 1.jpg the user's folder lacks; empty: none
    QString programFolder;
    QString documentsFolder; // where "--open" writes; empty: there is none
    // Opens a written file with the desktop's program for it; false: could not.
    std::function<bool(const QString& file)> openFile;
};

// Writes the year as `request` asks (today's picture as the saver shows it,
// see todaysPicture): the user's holidays read as the saver reads them, the file written whole
// (beside its place, then renamed) or not at all. Returns the exit code: 0 written; 1 not written,
// with one line on stderr naming the file and why. Needs the application object.
int exportYear(const app::ExportRequest& request, const ExportServices& services);

} // namespace navcal::yearout
