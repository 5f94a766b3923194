#pragma once

#include "layout/StoredDesign.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

// The banner's own holiday table and the lookup from a date to what the banner
// shows. Plain data and rules: no widgets.
namespace navcal::banner {

// Text and colour used instead of an entry's own when the day is a Sunday.
struct SundayOverride {
    layout::Colour colour;
    QString text;
};

// One fixed entry. `key` is "DD.MM": that day and month of any year.
struct BannerEntry {
    QString key;
    std::optional<layout::Colour> colour; // empty: the banner keeps its stored colour
    QString text;                         // lines joined by CR LF
    std::optional<SundayOverride> sunday;
};

// A July rule: announces the one Sunday that falls within [firstDay, lastDay].
struct JulySundayRule {
    int firstDay;
    int lastDay;
    QString text;
};

// The fixed entries in the order they are tested.
const std::vector<BannerEntry>& bannerEntries();
// The July Sunday rules, tested after every fixed entry.
const std::vector<JulySundayRule>& julySundayRules();

// The banner label's stored colour, shown when nothing sets another.
inline constexpr layout::Colour kBannerStoredColour = layout::colours::darkRed;

// What the banner shows on a day: no entry gives an empty text.
struct BannerLook {
    QString text;
    layout::Colour colour = kBannerStoredColour;

    friend bool operator==(const BannerLook&, const BannerLook&) = default;
};

// Sunday by the calendar itself, whatever the locale's first day of the week.
bool isSunday(const QDate& date);

// "DD.MM" of a date.
QString dayMonthKey(const QDate& date);

// The banner of `date`, computed from nothing but the date.
BannerLook bannerFor(const QDate& date);

} // namespace navcal::banner
