#include "calendar/ICalendar.h"

#include "calendar/HolidayNames.h"

#include <QSet>
#include <QUuid>
#include <algorithm>

namespace navcal::calendar {

namespace {

constexpr qsizetype kLineOctets = 75;

// A TEXT value: backslash, comma, semicolon and line breaks escaped.
QString escaped(QString text) {
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char(';'), QLatin1String("\\;"));
    text.replace(QLatin1Char(','), QLatin1String("\\,"));
    text.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return text;
}

// Appends one content line, folded so that no line is longer than 75
// octets and no UTF-8 character is cut.
void addLine(QByteArray& out, const QString& line) {
    const QByteArray bytes = line.toUtf8();
    qsizetype start = 0;
    qsizetype room = kLineOctets;
    while (bytes.size() - start > room) {
        qsizetype end = start + room;
        while ((uchar(bytes[end]) & 0xC0) == 0x80)
            --end;
        out += bytes.mid(start, end - start) + "\r\n ";
        start = end;
        room = kLineOctets - 1; // the fold's blank counts
    }
    out += bytes.mid(start) + "\r\n";
}

QString dateValue(const QDate& date) {
    return date.toString(QStringLiteral("yyyyMMdd"));
}

// The rule's first day in `year` or, for 29 February, in the next year that
// has one.
QDate firstDay(const HolidayDay& when, int year) {
    if (when.sunday == 0) {
        for (int y = year; y < year + 8; ++y)
            if (const QDate date(y, when.month, when.day); date.isValid())
                return date;
        return {};
    }
    for (QDate date(year, when.month, 1); date.month() == when.month; date = date.addDays(1))
        if (when.falls(date))
            return date;
    return {};
}

QString recurrence(const HolidayDay& when) {
    if (when.sunday == 0)
        return QStringLiteral("FREQ=YEARLY;BYMONTH=%1;BYMONTHDAY=%2").arg(when.month).arg(when.day);
    return QStringLiteral("FREQ=YEARLY;BYMONTH=%1;BYDAY=%2SU").arg(when.month).arg(when.sunday);
}

} // namespace

QByteArray iCalendar(const std::vector<Holiday>& userRows, const QString& title, int fromYear,
                     const QDateTime& stamp, const std::vector<Holiday>& table) {
    // The UIDs' own namespace: fixed, so that they stay the same between runs.
    static const QUuid uidSpace(QStringLiteral("{5b0c6f1e-3a57-4d4f-9a52-6e1c2f0b7d31}"));
    QByteArray out;
    for (const QString& line :
         {QStringLiteral("BEGIN:VCALENDAR"), QStringLiteral("VERSION:2.0"),
          QStringLiteral("PRODID:-//flagmarin.ru//navcal//RU"),
          QStringLiteral("CALSCALE:GREGORIAN"), QStringLiteral("METHOD:PUBLISH"),
          QStringLiteral("NAME:") + escaped(title),
          QStringLiteral("X-WR-CALNAME:") + escaped(title)})
        addLine(out, line);
    const QString made = stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QSet<QString> written;
    std::vector<const Holiday*> rows;
    for (const std::vector<Holiday>* from : {&table, &userRows})
        for (const Holiday& row : *from)
            rows.push_back(&row);
    for (const Holiday* each : rows) {
        const Holiday& row = *each;
        const QDate first = firstDay(row.when, fromYear);
        // A row the day's answer leaves out is not the day's holiday.
        const std::vector<const Holiday*> falling = rowsOn(first, userRows, table).all();
        if (!first.isValid() || std::find(falling.begin(), falling.end(), each) == falling.end())
            continue;
        for (const QString& name : holidayNames(row)) {
            // The same holiday on the same day twice is one event.
            const QString key = recurrence(row.when) + QLatin1Char('|') + name;
            if (written.contains(key))
                continue;
            written.insert(key);
            const QString uid = QUuid::createUuidV5(uidSpace, key).toString(QUuid::WithoutBraces);
            for (const QString& line :
                 {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:%1@navcal").arg(uid),
                  QStringLiteral("DTSTAMP:") + made,
                  QStringLiteral("DTSTART;VALUE=DATE:") + dateValue(first),
                  QStringLiteral("DTEND;VALUE=DATE:") + dateValue(first.addDays(1)),
                  QStringLiteral("RRULE:") + recurrence(row.when),
                  QStringLiteral("SUMMARY:") + escaped(name), QStringLiteral("TRANSP:TRANSPARENT"),
                  QStringLiteral("END:VEVENT")})
                addLine(out, line);
        }
    }
    addLine(out, QStringLiteral("END:VCALENDAR"));
    return out;
}

} // namespace navcal::calendar
