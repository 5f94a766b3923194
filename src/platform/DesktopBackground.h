#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace navcal::platform {

// A picture made for one monitor: the monitor's name as the toolkit names
// its screen, and the file.
struct MonitorPicture {
    QString monitor;
    QString file;
};

// The background of one kind of desktop, read and changed through the
// desktop's own settings tools. What shown() returns is the desktop's own
// settings as text: restore() puts exactly that back, and two reads compare
// equal while nobody changed the background.
class DesktopBackground {
  public:
    virtual ~DesktopBackground() = default;
    // What the desktop shows now; nothing, and `error`, when it cannot be read.
    virtual std::optional<QStringList> shown(QString* error) const = 0;
    // Shows `pictures` (the primary monitor's first), stretched to fill.
    // False with `error` when the desktop refused; what was shown then stays.
    virtual bool show(const std::vector<MonitorPicture>& pictures, QString* error) const = 0;
    // Puts back what shown() read.
    virtual bool restore(const QStringList& kept, QString* error) const = 0;
};

// The desktop the user runs, by the name it gives itself (XDG_CURRENT_DESKTOP
// on Linux, "Windows" there); empty when it names none.
QString runningDesktop();

// The background of `desktop` (a name from runningDesktop()), or nothing for
// a desktop whose background this program cannot set.
std::unique_ptr<DesktopBackground> desktopBackground(const QString& desktop);

// The parts of each kind of desktop, one file each.
std::unique_ptr<DesktopBackground> gsettingsBackground(const QString& desktop);
std::unique_ptr<DesktopBackground> xfceBackground();
std::unique_ptr<DesktopBackground> plasmaBackground();
std::unique_ptr<DesktopBackground> windowsBackground();

} // namespace navcal::platform
