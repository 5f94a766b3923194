#pragma once

#include "calendar/Colour.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>
#include <vector>

// The one table of naval holidays (assets/holidays.txt, compiled in), the rows a
// user adds in a holidays.txt of their own, and the one question asked of
// both: what a date shows in its month panel, what a click on the month's
// title marks and what the banner says.
namespace navcal::calendar {

// The day a row names: one day and month of every year, or the n-th (or the
// last) Sunday of a month.
struct HolidayDay {
    int month = 0;
    int day = 0;    // a fixed day; 0 for a Sunday rule
    int sunday = 0; // 1..4: that Sunday of the month; -1: the last one
    bool falls(const QDate& date) const;
};

// Whose table a text is. The stored one is whole: every row has all eight
// columns and names a day once. A user's row may stop after any column from
// its tooltip on (the rest mean "-", but a left-out title click marks a day
// that has a grid colour), and a day may come in several rows.
enum class TableOwner { Stored, User };

struct Holiday {
    enum class TitleClick { None, Mark, MarkWithTip };

    HolidayDay when;
    QString whenText; // as the table writes it: "23.02", "last Sunday of July"

    std::optional<Colour> gridColour; // empty: the grid leaves the colour
    QString gridTip;                  // empty: the grid sets no tooltip
    TitleClick titleClick = TitleClick::None;
    std::optional<Colour> bannerColour; // empty: the banner keeps its colour
    QString bannerText;                 // lines joined by CR LF; empty: no banner
    std::optional<Colour> sundayColour;
    QString sundayText; // replaces the banner text on a Sunday; empty: none
    // The stored table's tooltip may name several holidays; a user's names
    // one, whatever it holds.
    TableOwner owner = TableOwner::Stored;
};

struct HolidayTable {
    std::vector<Holiday> rows;
    QStringList errors; // "N: what is wrong", N the line; empty for a sound table
};

// Reads the table's text (UTF-8 with or without a byte-order mark, LF or CR LF
// line ends); a malformed row is reported and left out.
HolidayTable parseHolidayTable(const QString& text, TableOwner owner = TableOwner::Stored);

// The compiled-in table, read once. A table with errors stops the program: the
// suite loads it, so such a table never reaches a user.
const std::vector<Holiday>& holidays();

// What falls on a date: the rows that speak for it, for the screen, the
// printed year and the calendar file alike; each chooses what to show of
// them. Of the stored table one row gives the day's cell and one its banner
// (often the same row), a fixed day's before a Sunday rule's; every row of the
// user's that falls on the date follows, in the order of their file.
struct DayRows {
    const Holiday* grid = nullptr;   // the stored row the day's cell shows
    const Holiday* banner = nullptr; // the stored row the banner shows
    std::vector<const Holiday*> user;
    // Every row above once, the stored ones first.
    std::vector<const Holiday*> all() const;
};

DayRows rowsOn(const QDate& date, const std::vector<Holiday>& userRows = {},
               const std::vector<Holiday>& table = holidays());

// What a date shows of the rows that fall on it: the stored rows first, then
// the user's, each adding its tooltip and its banner text on a line of their
// own, its colours replacing the earlier ones; the title click stays that of
// the first row with a grid part.
struct HolidayLook {
    // The day's cell in its month panel.
    std::optional<Colour> gridColour;
    QString gridTip; // one line per row
    // A click on the month's title: the day takes this colour (and with
    // `titleTip` its grid tooltip) instead of the random colour; empty: the
    // random colour.
    std::optional<Colour> titleColour;
    bool titleTip = false;
    // The banner: no text leaves it as it is.
    std::optional<Colour> bannerColour;
    QString bannerText;
};

HolidayLook holidayOn(const QDate& date, const std::vector<Holiday>& userRows = {},
                      const std::vector<Holiday>& table = holidays());

} // namespace navcal::calendar
