#include "yearout/YearExport.h"

#include "app/UserHolidays.h"
#include "calendar/ICalendar.h"
#include "design/StoredDesign.h"
#include "platform/CheckedWrite.h"
#include "platform/ErrorLine.h"
#include "platform/SignalBridge.h"
#include "platform/StderrAside.h"
#include "yearout/DesktopPicture.h"
#include "yearout/PrintedYear.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

namespace navcal::yearout {

namespace {

// The primary screen in device pixels; a run without a display, a screen
// the size of most.
QSize screenPixels() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || QGuiApplication::platformName() == QLatin1String("offscreen"))
        return {1920, 1080};
    return (QSizeF(screen->geometry().size()) * screen->devicePixelRatio()).toSize();
}

QByteArray drawn(const app::ExportRequest& request, const ExportServices& services, int year) {
    using Form = app::ExportRequest::Form;
    if (request.form == Form::Png) {
        // The saver reads the user's holidays itself.
        PictureServices picture;
        picture.clock = services.clock;
        picture.locale = services.locale;
        picture.userFolder = services.userFolder;
        picture.systemFolder = services.systemFolder;
        picture.programFolder = services.programFolder;
        return pngOf(todaysPicture(request.size.value_or(screenPixels()), picture));
    }
    const std::vector<calendar::Holiday> userRows = app::readUserHolidays(services.userFolder);
    if (request.form == Form::Pdf) {
        // Fonts are looked up here, and the font library speaks on stderr.
        const platform::StderrAside aside;
        return printedYear(year, userRows, services.locale);
    }
    return calendar::iCalendar(userRows, design::programTitle(), year, services.clock->now());
}

} // namespace

int exportYear(const app::ExportRequest& request, const ExportServices& services) {
    using Form = app::ExportRequest::Form;
    const int year = request.year.value_or(services.clock->now().date().year());
    QString file = request.file;
    if (request.open) {
        // Never a relative name: that would write into whatever folder the
        // program was started in.
        if (services.documentsFolder.isEmpty()) {
            platform::writeErrorLine(
                QStringLiteral("navcal: there is no documents folder to write into"));
            return 1;
        }
        QDir().mkpath(services.documentsFolder);
        const QString title = design::programTitle();
        file = QDir(services.documentsFolder)
                   .filePath(request.form == Form::Pdf
                                 ? QStringLiteral("%1 %2.pdf").arg(title).arg(year)
                             : request.form == Form::Png ? title + QStringLiteral(".png")
                                                         : title + QStringLiteral(".ics"));
    }
    const QByteArray bytes = drawn(request, services, year);
    const QString why =
        bytes.isEmpty() ? QStringLiteral("nothing was drawn") : platform::writeWhole(file, bytes);
    if (!why.isEmpty()) {
        platform::writeErrorLine(
            QStringLiteral("navcal: cannot write %1: %2").arg(QDir::toNativeSeparators(file), why));
        // Ended by a signal: the code a shell expects of a program it ended.
        const int signalNumber = platform::SignalBridge::arrivedSignal();
        return signalNumber ? 128 + signalNumber : 1;
    }
    if (request.open && !services.openFile(file)) {
        platform::writeErrorLine(QStringLiteral("navcal: %1 is written, but no program opened it")
                                     .arg(QDir::toNativeSeparators(file)));
        return 1;
    }
    return 0;
}

} // namespace navcal::yearout
