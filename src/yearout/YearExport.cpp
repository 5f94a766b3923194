#include "yearout/YearExport.h"

#include "app/UserHolidays.h"
#include "calendar/ICalendar.h"
#include "design/StoredDesign.h"
#include "platform/ErrorLine.h"
#include "yearout/PrintedYear.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace navcal::yearout {

namespace {

// `bytes` into `file` whole, or the reason it is not there.
QString writeWhole(const QString& file, const QByteArray& bytes) {
    if (file == QLatin1String("-")) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || out.write(bytes) != bytes.size() ||
            !out.flush())
            return out.errorString();
        return {};
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        const QString why = out.errorString();
        out.cancelWriting();
        return why.isEmpty() ? QStringLiteral("not written") : why;
    }
    return {};
}

} // namespace

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
    if (const QString why = writeWhole(file, bytes); !why.isEmpty()) {
        platform::writeErrorLine(
            QStringLiteral("navcal: cannot write %1: %2").arg(QDir::toNativeSeparators(file), why));
        return 1;
    }
    if (request.open && !services.openFile(file)) {
        platform::writeErrorLine(QStringLiteral("navcal: %1 is written, but no program opened it")
                                     .arg(QDir::toNativeSeparators(file)));
        return 1;
    }
    return 0;
}

} // namespace navcal::yearout
