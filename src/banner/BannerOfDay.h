#pragma once

#include "calendar/Holidays.h"
#include "design/StoredDesign.h"

#include <QDate>
#include <QString>

// The lookup from a date to what the banner shows, from the banner columns of
// the holiday table. Plain rules: no widgets.
namespace navcal::banner {

// The banner label's stored colour, shown when nothing sets another.
inline constexpr design::Colour kBannerStoredColour = design::colours::darkRed;

// What the banner shows on a day: no entry gives an empty text.
struct BannerLook {
    QString text;
    design::Colour colour = kBannerStoredColour;

    friend bool operator==(const BannerLook&, const BannerLook&) = default;
};

// The banner of `date`, computed from nothing but the date and the user's own
// holidays beside the stored ones.
BannerLook bannerFor(const QDate& date, const std::vector<calendar::Holiday>& userRows = {});

} // namespace navcal::banner
