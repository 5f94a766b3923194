#include "banner/BannerTable.h"

#include "calendar/Holidays.h"

namespace navcal::banner {

BannerLook bannerFor(const QDate& date) {
    BannerLook look;
    const calendar::HolidayLook holiday = calendar::holidayOn(date);
    if (holiday.bannerColour)
        look.colour = *holiday.bannerColour;
    look.text = holiday.bannerText;
    return look;
}

} // namespace navcal::banner
