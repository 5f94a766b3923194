#include "banner/BannerOfDay.h"

namespace navcal::banner {

BannerLook bannerFor(const QDate& date, const std::vector<calendar::Holiday>& userRows) {
    BannerLook look;
    const calendar::HolidayLook holiday = calendar::holidayOn(date, userRows);
    if (holiday.bannerColour)
        look.colour = *holiday.bannerColour;
    look.text = holiday.bannerText;
    return look;
}

} // namespace navcal::banner
