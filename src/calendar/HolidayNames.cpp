#include "calendar/HolidayNames.h"

#include <QRegularExpression>

namespace navcal::calendar {

QStringList holidayNames(const Holiday& row) {
    QStringList names;
    if (!row.gridTip.isEmpty() && row.owner == TableOwner::User) {
        // Whatever a user wrote in a row is the name of one day of theirs.
        if (const QString plain = row.gridTip.simplified(); !plain.isEmpty())
            names << plain;
        return names;
    }
    if (!row.gridTip.isEmpty()) {
        static const QRegularExpression between(QStringLiteral("; |[\r\n]+"));
        for (const QString& name : row.gridTip.split(between))
            if (const QString plain = name.simplified(); !plain.isEmpty())
                names << plain;
        return names;
    }
    // The banner's lines are one sentence broken to fit the screen.
    QString banner = row.bannerText.simplified();
    while (banner.endsWith(QLatin1Char('!')))
        banner = banner.chopped(1).trimmed();
    if (!banner.isEmpty())
        names << banner;
    return names;
}

std::vector<NamedDay> namedDays(int year, const std::vector<Holiday>& userRows,
                                const std::vector<Holiday>& table) {
    std::vector<NamedDay> days;
    const QDate last(year, 12, 31);
    for (QDate date(year, 1, 1); date.isValid() && date <= last; date = date.addDays(1)) {
        NamedDay day{date, {}};
        for (const Holiday* row : rowsOn(date, userRows, table).all())
            for (const QString& name : holidayNames(*row))
                if (!day.names.contains(name))
                    day.names << name;
        if (!day.names.isEmpty())
            days.push_back(std::move(day));
    }
    return days;
}

} // namespace navcal::calendar
