#include "app/UserHolidays.h"

#include "platform/ErrorLine.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFileInfo>

namespace navcal::app {

namespace {

// A table of a few hundred rows is large; more is no table of anyone's.
constexpr qint64 kLargestFile = 64 * 1024;
// Junk of many lines would fill the log of a session with one line each.
constexpr qsizetype kMostErrorLines = 20;

} // namespace

std::vector<calendar::Holiday> readUserHolidays(const QString& folder) {
    if (folder.isEmpty())
        return {};
    const QString path = QDir(folder).filePath(QStringLiteral("holidays.txt"));
    const std::optional<QByteArray> bytes = platform::readRegularFile(path, kLargestFile);
    const QString name = QDir::toNativeSeparators(path);
    if (!bytes) {
        // Not there at all is the usual case, and no fault.
        const QFileInfo info(path);
        if (info.exists() || info.isSymLink())
            platform::writeErrorLine(
                QStringLiteral("%1: ignored: not a readable file of at most %2 KiB")
                    .arg(name)
                    .arg(kLargestFile / 1024));
        return {};
    }
    calendar::HolidayTable table =
        calendar::parseHolidayTable(QString::fromUtf8(*bytes), calendar::TableOwner::User);
    for (const QString& error : table.errors.first(qMin(table.errors.size(), kMostErrorLines)))
        platform::writeErrorLine(name + QLatin1Char(':') + error);
    if (table.errors.size() > kMostErrorLines)
        platform::writeErrorLine(QStringLiteral("%1: %2 more rows skipped")
                                     .arg(name)
                                     .arg(table.errors.size() - kMostErrorLines));
    return std::move(table.rows);
}

} // namespace navcal::app
