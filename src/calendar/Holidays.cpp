#include "calendar/Holidays.h"

#include "calendar/CalendarRules.h"
#include "layout/Resources.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

namespace navcal::calendar {

namespace {

constexpr int kFields = 8;
const QString kNone = QStringLiteral("-");

std::optional<layout::Colour> readColour(const QString& field, bool* ok) {
    *ok = true;
    if (field == kNone)
        return std::nullopt;
    if (field == QLatin1String("red"))
        return layout::colours::red;
    if (field == QLatin1String("blue"))
        return layout::colours::blue;
    *ok = false;
    return std::nullopt;
}

QString readText(const QString& field) {
    if (field == kNone)
        return {};
    QString text = field;
    return text.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
}

// Fills the when-columns of `row`; false for text that names no day or rule.
bool readWhen(const QString& when, Holiday& row) {
    // 2000 is a leap year: "29.02" is a day of the table too.
    constexpr int anyLeapYear = 2000;
    static const QRegularExpression sunday(
        QStringLiteral("^Sunday (\\d\\d\\.\\d\\d)-(\\d\\d\\.\\d\\d)$"));
    static const QRegularExpression cell(QStringLiteral("^cell (\\d{1,2}) of (\\d\\d)$"));
    static const QRegularExpression date(QStringLiteral("^\\d\\d\\.\\d\\d$"));
    row.when = when;
    if (const auto m = sunday.match(when); m.hasMatch()) {
        const auto first = readDayMonth(m.captured(1), anyLeapYear);
        const auto last = readDayMonth(m.captured(2), anyLeapYear);
        if (!first || !last || first->month() != last->month() || first->daysTo(*last) != 6)
            return false;
        row.kind = Holiday::Kind::SundayIn;
        row.month = first->month();
        row.day = first->day();
        row.lastDay = last->day();
        return true;
    }
    if (const auto m = cell.match(when); m.hasMatch()) {
        row.kind = Holiday::Kind::FixedCell;
        row.cell = m.captured(1).toInt();
        row.month = m.captured(2).toInt();
        return row.cell < 37 && row.month >= 1 && row.month <= 12;
    }
    const auto day = date.match(when).hasMatch() ? readDayMonth(when, anyLeapYear) : std::nullopt;
    if (!day)
        return false;
    row.kind = Holiday::Kind::Date;
    row.month = day->month();
    row.day = day->day();
    return true;
}

// Why `row` cannot stand as read; empty when it can.
QString checkRow(const Holiday& row) {
    if (row.titleClick != Holiday::TitleClick::None && !row.gridColour)
        return QStringLiteral("a title click marks a day without a grid colour");
    if (row.titleClick == Holiday::TitleClick::MarkWithTip && row.gridTip.isEmpty())
        return QStringLiteral("a title click sets a tooltip the grid does not have");
    if (row.kind == Holiday::Kind::FixedCell &&
        (row.gridColour || row.titleClick != Holiday::TitleClick::None ||
         !row.bannerText.isEmpty() || row.gridTip.isEmpty()))
        return QStringLiteral("a fixed cell carries a grid tooltip and nothing else");
    if (row.kind != Holiday::Kind::Date && (row.sundayColour || !row.sundayText.isEmpty()))
        return QStringLiteral("only a day has a Sunday banner");
    if (row.bannerText.isEmpty() && (row.bannerColour || row.sundayColour))
        return QStringLiteral("a banner colour without a banner text");
    if (row.sundayColour && row.sundayText.isEmpty())
        return QStringLiteral("a Sunday colour without a Sunday text");
    if (!row.gridColour && row.gridTip.isEmpty() && row.bannerText.isEmpty())
        return QStringLiteral("the row shows nothing");
    return {};
}

} // namespace

HolidayTable parseHolidayTable(const QString& text) {
    HolidayTable table;
    QSet<QString> seen;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const auto fail = [&](const QString& why) {
            table.errors << QStringLiteral("line %1: %2").arg(n + 1).arg(why);
        };
        QStringList fields = line.split(QLatin1Char('|'));
        if (fields.size() != kFields) {
            fail(QStringLiteral("%1 fields instead of %2").arg(fields.size()).arg(kFields));
            continue;
        }
        for (QString& field : fields)
            field = field.trimmed();
        Holiday row;
        if (!readWhen(fields[0], row)) {
            fail(QStringLiteral("\"%1\" is no day or rule").arg(fields[0]));
            continue;
        }
        bool gridOk = false, bannerOk = false, sundayOk = false;
        row.gridColour = readColour(fields[1], &gridOk);
        row.gridTip = readText(fields[2]);
        row.bannerColour = readColour(fields[4], &bannerOk);
        row.bannerText = readText(fields[5]);
        row.sundayColour = readColour(fields[6], &sundayOk);
        row.sundayText = readText(fields[7]);
        if (!gridOk || !bannerOk || !sundayOk) {
            fail(QStringLiteral("a colour is not red, blue or -"));
            continue;
        }
        if (fields[3] == QLatin1String("mark"))
            row.titleClick = Holiday::TitleClick::Mark;
        else if (fields[3] == QLatin1String("mark+tip"))
            row.titleClick = Holiday::TitleClick::MarkWithTip;
        else if (fields[3] != kNone) {
            fail(QStringLiteral("title click \"%1\" is not mark, mark+tip or -").arg(fields[3]));
            continue;
        }
        if (const QString why = checkRow(row); !why.isEmpty()) {
            fail(why);
            continue;
        }
        if (seen.contains(row.when)) {
            fail(QStringLiteral("\"%1\" comes twice").arg(row.when));
            continue;
        }
        seen.insert(row.when);
        table.rows.push_back(std::move(row));
    }
    return table;
}

const std::vector<Holiday>& holidays() {
    static const std::vector<Holiday> rows = [] {
        layout::ensureResources();
        QFile file(QStringLiteral(":/holidays.txt"));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("The holiday table is missing from the program's resources");
        HolidayTable table = parseHolidayTable(QString::fromUtf8(file.readAll()));
        if (!table.errors.isEmpty())
            qFatal("The holiday table is malformed: %s", qPrintable(table.errors.join(u"; ")));
        return std::move(table.rows);
    }();
    return rows;
}

std::vector<const Holiday*> holidaysIn(int month) {
    std::vector<const Holiday*> rows;
    for (const Holiday& row : holidays())
        if (row.month == month)
            rows.push_back(&row);
    return rows;
}

} // namespace navcal::calendar
