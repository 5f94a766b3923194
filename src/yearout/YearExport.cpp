#include "yearout/YearExport.h"

#include "app/UserHolidays.h"
#include "calendar/ICalendar.h"
#include "design/StoredDesign.h"
#include "platform/CheckedWrite.h"
#include "platform/ErrorLine.h"
#include "platform/SignalBridge.h"
#include "yearout/PrintedYear.h"

#include <QDir>

namespace navcal::yearout {

int exportYear(const app::ExportRequest& request, const ExportServices& services) {
    const bool pdf = request.form == app::ExportRequest::Form::Pdf;
    const QDateTime now = services.clock->now();
    const int year = request.year.value_or(now.date().year());
    QString file = request.file;
    if (request.open) {
        QDir().mkpath(services.documentsFolder);
        file = QDir(services.documentsFolder)
                   .filePath(pdf ? QStringLiteral("%1 %2.pdf").arg(design::programTitle()).arg(year)
                                 : design::programTitle() + QStringLiteral(".ics"));
    }

    const std::vector<calendar::Holiday> userRows = app::readUserHolidays(services.userFolder);
    QByteArray bytes;
    if (pdf) {
        bytes = printedYear(year, userRows, services.locale);
    } else {
        bytes = calendar::iCalendar(userRows, design::programTitle(), year, now);
    }
    if (const QString why = platform::writeWhole(file, bytes); !why.isEmpty()) {
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
