#pragma once

#include "layout/Colour.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The one table of naval holidays (assets/holidays.txt, compiled in): what the
// month grid shows, what a month-title click marks and what the banner says.
namespace navcal::calendar {

struct Holiday {
    enum class Kind {
        Date,      // one day and month of every year
        SundayIn,  // the Sunday among days firstDay..lastDay of the month
        FixedCell, // a day cell of the month, whatever day it shows
    };
    enum class TitleClick { None, Mark, MarkWithTip };

    Kind kind = Kind::Date;
    int month = 0;
    int day = 0;     // Date; SundayIn: first day of the run
    int lastDay = 0; // SundayIn
    int cell = -1;   // FixedCell

    std::optional<layout::Colour> gridColour; // empty: the grid leaves the colour
    QString gridTip;                          // empty: the grid sets no tooltip
    TitleClick titleClick = TitleClick::None;
    std::optional<layout::Colour> bannerColour; // empty: the banner keeps its colour
    QString bannerText;                         // lines joined by CR LF; empty: no banner
    std::optional<layout::Colour> sundayColour;
    QString sundayText; // replaces the banner text on a Sunday; empty: none

    // "DD.MM", "Sunday DD.MM-DD.MM" or "cell N of MM", as the table writes it.
    QString when;
};

struct HolidayTable {
    std::vector<Holiday> rows;
    QStringList errors; // "line N: what is wrong"; empty for a sound table
};

// Reads the table's text; a malformed row is reported and left out.
HolidayTable parseHolidayTable(const QString& text);

// The compiled-in table, read once. A table with errors stops the program: the
// suite loads it, so such a table never reaches a user.
const std::vector<Holiday>& holidays();

// The rows of one month, in table order.
std::vector<const Holiday*> holidaysIn(int month);

} // namespace navcal::calendar
