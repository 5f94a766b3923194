#include "calendar/Holidays.h"

#include "calendar/CalendarRules.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <variant>

// The table is a resource of its own, registered where it is read.
static void registerHolidayTable() {
    Q_INIT_RESOURCE(holidays);
}

namespace navcal::calendar {

namespace {

constexpr int kFields = 8;
// A user's row may stop after its tooltip, before its title click.
constexpr int kTitleClickField = 3;
const QString kNone = QStringLiteral("-");

// A field as an error message quotes it: a user's file may hold anything, so
// it is cut short and its control characters (a terminal's escapes among
// them) are shown as "?".
QString quoted(const QString& field) {
    constexpr int kLongest = 40;
    QString text = field.size() > kLongest ? field.left(kLongest) + QChar(0x2026) : field;
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            c = QLatin1Char('?');
    return QLatin1Char('"') + text + QLatin1Char('"');
}

std::optional<Colour> readColour(const QString& field, bool* ok) {
    *ok = true;
    if (field == kNone)
        return std::nullopt;
    if (field == QLatin1String("red"))
        return colours::red;
    if (field == QLatin1String("blue"))
        return colours::blue;
    static const QRegularExpression plain(QStringLiteral("^#([0-9A-Fa-f]{6})$"));
    if (const auto m = plain.match(field); m.hasMatch())
        return Colour(m.captured(1).toUInt(nullptr, 16));
    *ok = false;
    return std::nullopt;
}

QString readText(const QString& field) {
    if (field == kNone)
        return {};
    QString text = field;
    return text.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
}

int monthNamed(const QString& name) {
    static const QStringList names = {
        QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
        QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
        QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
        QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
    return int(names.indexOf(name)) + 1;
}

// The day `text` names, or why it names none.
std::variant<HolidayDay, QString> readWhen(const QString& text) {
    static const QRegularExpression sunday(
        QStringLiteral("^(first|second|third|fourth|last) Sunday of ([A-Z][a-z]+)$"));
    static const QRegularExpression date(QStringLiteral("^\\d\\d\\.\\d\\d$"));
    if (const auto m = sunday.match(text); m.hasMatch()) {
        static const QStringList ordinals = {QStringLiteral("first"), QStringLiteral("second"),
                                             QStringLiteral("third"), QStringLiteral("fourth")};
        const int month = monthNamed(m.captured(2));
        if (month == 0)
            return QStringLiteral("no month %1").arg(quoted(m.captured(2)));
        const int nth = int(ordinals.indexOf(m.captured(1))) + 1;
        return HolidayDay{.month = month, .day = 0, .sunday = nth == 0 ? -1 : nth};
    }
    if (!date.match(text).hasMatch())
        return QStringLiteral("%1 is no DD.MM day or Sunday rule").arg(quoted(text));
    // 2000 is a leap year: "29.02" is a day of the table too.
    const auto day = readDayMonth(text, 2000);
    if (!day)
        return QStringLiteral("no day %1").arg(text);
    return HolidayDay{.month = day->month(), .day = day->day()};
}

// Why `row` cannot stand as read; empty when it can.
QString checkRow(const Holiday& row) {
    if (row.titleClick != Holiday::TitleClick::None && !row.gridColour)
        return QStringLiteral("a title click marks a day without a grid colour");
    if (row.titleClick == Holiday::TitleClick::MarkWithTip && row.gridTip.isEmpty())
        return QStringLiteral("a title click sets a tooltip the grid does not have");
    if (row.when.sunday != 0 && (row.sundayColour || !row.sundayText.isEmpty()))
        return QStringLiteral("a Sunday rule has no Sunday banner of its own");
    if (row.bannerText.isEmpty() && (row.bannerColour || row.sundayColour))
        return QStringLiteral("a banner colour without a banner text");
    if (row.sundayColour && row.sundayText.isEmpty())
        return QStringLiteral("a Sunday colour without a Sunday text");
    if (!row.gridColour && row.gridTip.isEmpty() && row.bannerText.isEmpty())
        return QStringLiteral("the row shows nothing");
    return {};
}

// The row `fields` write, all eight of them or as many as a user's row
// gives; or why they write none.
std::variant<Holiday, QString> readRow(QStringList fields) {
    const qsizetype given = fields.size();
    for (QString& field : fields)
        field = field.trimmed();
    while (fields.size() < kFields)
        fields << kNone;
    Holiday row;
    const auto when = readWhen(fields[0]);
    if (const QString* why = std::get_if<QString>(&when))
        return *why;
    row.when = std::get<HolidayDay>(when);
    row.whenText = fields[0];
    bool gridOk = false, bannerOk = false, sundayOk = false;
    row.gridColour = readColour(fields[1], &gridOk);
    row.gridTip = readText(fields[2]);
    row.bannerColour = readColour(fields[4], &bannerOk);
    row.bannerText = readText(fields[5]);
    row.sundayColour = readColour(fields[6], &sundayOk);
    row.sundayText = readText(fields[7]);
    if (!gridOk || !bannerOk || !sundayOk) {
        const QString& bad = !gridOk ? fields[1] : !bannerOk ? fields[4] : fields[6];
        return QStringLiteral("colour %1 is not red, blue, #RRGGBB or -").arg(quoted(bad));
    }
    if (given <= kTitleClickField)
        row.titleClick = row.gridColour ? Holiday::TitleClick::Mark : Holiday::TitleClick::None;
    else if (fields[3] == QLatin1String("mark"))
        row.titleClick = Holiday::TitleClick::Mark;
    else if (fields[3] == QLatin1String("mark+tip"))
        row.titleClick = Holiday::TitleClick::MarkWithTip;
    else if (fields[3] != kNone)
        return QStringLiteral("title click %1 is not mark, mark+tip or -").arg(quoted(fields[3]));
    if (const QString why = checkRow(row); !why.isEmpty())
        return why;
    return row;
}

bool isSunday(const QDate& date) {
    return date.dayOfWeek() == Qt::Sunday;
}

} // namespace

bool HolidayDay::falls(const QDate& date) const {
    if (!date.isValid() || date.month() != month)
        return false;
    if (sunday == 0)
        return date.day() == day;
    if (!isSunday(date))
        return false;
    if (sunday < 0)
        return date.day() + 7 > date.daysInMonth();
    return (date.day() + 6) / 7 == sunday;
}

HolidayTable parseHolidayTable(const QString& text, TableOwner owner) {
    const bool user = owner == TableOwner::User;
    HolidayTable table;
    QSet<QString> seen;
    QStringList lines = text.split(QLatin1Char('\n'));
    // Notepad's byte-order mark: no part of the first row.
    if (!lines.isEmpty() && lines.first().startsWith(QChar(0xFEFF)))
        lines.first().remove(0, 1);
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const auto fail = [&](const QString& why) {
            table.errors << QStringLiteral("%1: %2").arg(n + 1).arg(why);
        };
        QStringList fields = line.split(QLatin1Char('|'));
        const qsizetype given = fields.size();
        if (given > kFields || given < (user ? kTitleClickField : kFields)) {
            fail(QStringLiteral("%1 columns instead of %2")
                     .arg(given)
                     .arg(user ? QStringLiteral("%1 to %2").arg(kTitleClickField).arg(kFields)
                               : QString::number(kFields)));
            continue;
        }
        auto read = readRow(fields);
        if (const QString* why = std::get_if<QString>(&read)) {
            fail(*why);
            continue;
        }
        Holiday& row = std::get<Holiday>(read);
        row.owner = owner;
        if (!user && seen.contains(row.whenText)) {
            fail(QStringLiteral("\"%1\" comes twice").arg(row.whenText));
            continue;
        }
        seen.insert(row.whenText);
        table.rows.push_back(std::move(row));
    }
    return table;
}

const std::vector<Holiday>& holidays() {
    static const std::vector<Holiday> rows = [] {
        registerHolidayTable();
        QFile file(QStringLiteral(":/holidays.txt"));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("The holiday table is missing from the program's resources");
        HolidayTable table = parseHolidayTable(QString::fromUtf8(file.readAll()));
        if (!table.errors.isEmpty())
            qFatal("The holiday table is malformed: holidays.txt:%s",
                   qPrintable(table.errors.join(u"; holidays.txt:")));
        return std::move(table.rows);
    }();
    return rows;
}

namespace {

void addLine(QString& text, const QString& line, QLatin1StringView lineBreak) {
    if (line.isEmpty())
        return;
    if (!text.isEmpty())
        text += lineBreak;
    text += line;
}

} // namespace

std::vector<const Holiday*> DayRows::all() const {
    std::vector<const Holiday*> rows;
    for (const Holiday* row : {grid, banner})
        if (row && std::find(rows.begin(), rows.end(), row) == rows.end())
            rows.push_back(row);
    rows.insert(rows.end(), user.begin(), user.end());
    return rows;
}

DayRows rowsOn(const QDate& date, const std::vector<Holiday>& userRows,
               const std::vector<Holiday>& table) {
    DayRows rows;
    // Fixed days first, then the Sunday rules: a day of its own wins.
    for (const bool rules : {false, true}) {
        for (const Holiday& row : table) {
            if ((row.when.sunday != 0) != rules || !row.when.falls(date))
                continue;
            if (!rows.grid && (row.gridColour || !row.gridTip.isEmpty()))
                rows.grid = &row;
            if (!rows.banner && !row.bannerText.isEmpty())
                rows.banner = &row;
        }
    }
    for (const Holiday& row : userRows)
        if (row.when.falls(date))
            rows.user.push_back(&row);
    return rows;
}

HolidayLook holidayOn(const QDate& date, const std::vector<Holiday>& userRows,
                      const std::vector<Holiday>& table) {
    HolidayLook look;
    const DayRows rows = rowsOn(date, userRows, table);
    // The stored day's rows first, then the user's that fall on the date, in
    // the order they are written: each adds a line.
    bool titleDecided = false;
    const auto add = [&](const Holiday& row, bool toGrid, bool toBanner) {
        if (toGrid) {
            if (row.gridColour)
                look.gridColour = row.gridColour;
            addLine(look.gridTip, row.gridTip, QLatin1StringView("\n"));
            if (!titleDecided) {
                titleDecided = true;
                if (row.titleClick != Holiday::TitleClick::None)
                    look.titleColour = row.gridColour;
                look.titleTip = row.titleClick == Holiday::TitleClick::MarkWithTip;
            }
        }
        if (toBanner) {
            const bool sunday = !row.sundayText.isEmpty() && isSunday(date);
            if (row.bannerColour)
                look.bannerColour = row.bannerColour;
            if (sunday && row.sundayColour)
                look.bannerColour = row.sundayColour;
            addLine(look.bannerText, sunday ? row.sundayText : row.bannerText,
                    QLatin1StringView("\r\n"));
        }
    };
    if (rows.grid)
        add(*rows.grid, true, false);
    if (rows.banner)
        add(*rows.banner, false, true);
    for (const Holiday* row : rows.user)
        add(*row, row->gridColour || !row->gridTip.isEmpty(), !row->bannerText.isEmpty());
    return look;
}

} // namespace navcal::calendar
