#pragma once

#include "calendar/Holidays.h"

#include <QString>
#include <vector>

namespace navcal::app {

// The user's own holidays: the rows of `folder`/holidays.txt, read through
// the checked read. Each row that cannot be read costs one line on stderr
// ("FILE:LINE: what is wrong"), a file that fails the read one line and
// gives no rows. No folder or no file gives no rows and no line.
std::vector<calendar::Holiday> readUserHolidays(const QString& folder);

} // namespace navcal::app
