#pragma once

#include "calendar/Holidays.h"
#include "design/StoredDesign.h"

#include <QDate>
#include <QString>

// The lookup from a date to what the banner shows, from the banner columns of
// the holiday table. Plain rules: no widgets.
namespace navcal::banner {

// What the banner shows on a day: no entry gives an empty text.
struct BannerLook {
    QString text;
    design::Colour colour = 0;

    friend bool operator==(const BannerLook&, const BannerLook&) = default;
};

// The banner of `date`, computed from nothing but the date and the user's own
// holidays beside the stored ones.
BannerLook bannerFor(const QDate& date, const std::vector<calendar::Holiday>& userRows = {});

} // namespace navcal::banner
