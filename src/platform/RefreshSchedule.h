#pragma once

#include <QString>
#include <QStringList>

namespace navcal::platform {

// `program` with `arguments`, run for this user by the system each day just
// after midnight and at each logon: a systemd user timer and a service the
// login starts, where the session has a systemd user manager, else an entry
// in the desktop's autostart folder (Linux); a scheduled task of the user's
// (Windows). Nothing stays running between the runs. False, with `error`,
// when nothing could be registered.
bool scheduleRefresh(const QString& program, const QStringList& arguments, QString* error);

// Removes whatever scheduleRefresh() registered; nothing there is no error.
bool unscheduleRefresh(QString* error);

} // namespace navcal::platform
