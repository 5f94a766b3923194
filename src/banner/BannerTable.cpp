#include "banner/BannerTable.h"

#include "calendar/Holidays.h"

namespace navcal::banner {

bool isSunday(const QDate& date) {
    return date.dayOfWeek() == Qt::Sunday;
}

BannerLook bannerFor(const QDate& date) {
    BannerLook look;
    if (!date.isValid())
        return look;
    using calendar::Holiday;
    // Days first, then the Sunday rules: a day of its own wins over a rule's run.
    for (const Holiday& row : calendar::holidays()) {
        if (row.kind != Holiday::Kind::Date || row.bannerText.isEmpty() ||
            row.month != date.month() || row.day != date.day())
            continue;
        if (row.bannerColour)
            look.colour = *row.bannerColour;
        look.text = row.bannerText;
        if (!row.sundayText.isEmpty() && isSunday(date)) {
            if (row.sundayColour)
                look.colour = *row.sundayColour;
            look.text = row.sundayText;
        }
        return look;
    }
    for (const Holiday& row : calendar::holidays()) {
        if (row.kind != Holiday::Kind::SundayIn || row.bannerText.isEmpty() ||
            row.month != date.month() || date.day() < row.day || date.day() > row.lastDay)
            continue;
        // The first rule whose run holds the day decides, Sunday or not.
        if (isSunday(date)) {
            if (row.bannerColour)
                look.colour = *row.bannerColour;
            look.text = row.bannerText;
        }
        return look;
    }
    return look;
}

} // namespace navcal::banner
