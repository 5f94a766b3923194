#include "banner/BannerOfDay.h"

namespace navcal::banner {

namespace {

// The banner label's stored colour, shown when the day sets no other.
design::Colour storedColour() {
    for (const design::StoredControl& control : design::storedControls())
        if (control.role == design::Role::Banner && control.colour)
            return *control.colour;
    qFatal("The stored design gives the banner no colour");
}

} // namespace

BannerLook bannerFor(const QDate& date, const std::vector<calendar::Holiday>& userRows) {
    const calendar::HolidayLook holiday = calendar::holidayOn(date, userRows);
    return {holiday.bannerText, holiday.bannerColour.value_or(storedColour())};
}

} // namespace navcal::banner
