#pragma once

#include "calendar/Clock.h"
#include "calendar/Holidays.h"
#include "design/RandomPalette.h"
#include "platform/MusicSink.h"
#include "platform/UrlOpener.h"

#include <QLocale>
#include <QObject>
#include <QSize>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QImage;
class QWindow;

namespace navcal::platform {
class HostWindow;
class SingleInstance;
} // namespace navcal::platform
namespace navcal::calendar {
class Today;
}
namespace navcal::panels {
class MonthPanels;
}
namespace navcal::banner {
class Banner;
}
namespace navcal::extras {
class ClockDisplay;
class Music;
class WebLink;
class Decorations;
} // namespace navcal::extras

namespace navcal::app {

class CalendarWindow;
class Heartbeat;
class ScreenCovers;

// What the saver gets from outside: the platform's services and, for a host's
// lent window, a fixed screen.
struct SaverServices {
    const calendar::Clock* clock = nullptr;
    design::RandomSource* random = nullptr;
    platform::MusicSink* music = nullptr;
    platform::UrlOpener* opener = nullptr;
    QLocale locale;
    QString userFolder;   // the user's own, looked in first for each file; empty: none
    QString systemFolder; // the whole machine's, looked in next; empty: none
    QString programFolder;
    std::optional<QSize> screenPixels;        // the primary screen when empty
    std::function<void(int)> endProgram;      // ends the program; quits the event loop when empty
    platform::SingleInstance* lock = nullptr; // held while the saver runs; none when hosted

    // Where 1.jpg and muzz.* are looked for, in order. holidays.txt is the
    // user's alone: it is looked for in `userFolder` only.
    QStringList dataFolders() const { return {userFolder, systemFolder}; }
};

// How a run ends: the exit code, a line for stderr (none when empty), and
// whether the program ends at once, without the toolkit's clean-up (the
// host's window it drew in is gone, and our window with it).
struct Ending {
    int code = 0;
    QString line{};
    bool atOnce = false;
};

// The screensaver put together: the window and the parts that act in it,
// every click and tick wired between them, and the order they start in.
// The one place that knows them all.
class Saver : public QObject {
    Q_OBJECT
  public:
    explicit Saver(SaverServices services);
    ~Saver() override;

    // A still picture of the first frame, drawn into `picture`: the beats a
    // running saver would give until its fill has ended, given at once, and
    // the clock hidden, since a picture's clock would stand still. The
    // window is not shown and the heartbeat never started.
    void drawStill(QImage& picture);

    // Runs full screen in a window of its own: the other monitors are
    // covered once the first frame is on the screen.
    void runFullScreen();
    // Runs inside the window a screensaver host lent: silent, no input, the
    // host's size followed, ended when the host's window goes.
    void runInside(platform::HostWindow& host);

    // The one way out, whatever ends the run (a key, a click on the
    // background or a cover, the web link, a termination signal, a window
    // manager's close, the host's window gone): the line written, the music
    // stopped, the covers and the window closed, the lock released, then the
    // program ended with the code. Runs once; a later call does nothing, but
    // that of a host's window gone ends the program at once.
    void end(const Ending& ending = {});

  private:
    // The first frame's state: background, geometry, placement, the day, the
    // user's holidays and the fills back at their start; the music starts
    // once that frame is on the screen.
    void loadFrame();
    // Starts the heartbeat, a fill first; called once the window is shown.
    void startHeartbeat();
    void wire();
    // Today's date on its line.
    void showDate();
    // The steps of a new day, in their order.
    void newDay();
    // The user's holidays.txt, read anew: at start-up and on each new day.
    void readUserHolidays();

    SaverServices m_services;
    // The host's lent window, when running inside one; it outlives ours,
    // which is its child.
    std::unique_ptr<QWindow> m_lentWindow;
    std::unique_ptr<CalendarWindow> m_window;
    std::unique_ptr<calendar::Today> m_today;
    // The user's own holiday rows, which the panels and the banner read.
    std::vector<calendar::Holiday> m_userHolidays;
    design::RandomPalette m_palette;
    std::unique_ptr<panels::MonthPanels> m_panels;
    std::unique_ptr<banner::Banner> m_banner;
    std::unique_ptr<extras::ClockDisplay> m_clockDisplay;
    std::unique_ptr<extras::Music> m_music;
    std::unique_ptr<extras::WebLink> m_webLink;
    std::unique_ptr<extras::Decorations> m_decorations;
    std::unique_ptr<Heartbeat> m_heartbeat;
    std::unique_ptr<ScreenCovers> m_covers;
    std::optional<int> m_ending; // the exit code, once the end has begun
};

} // namespace navcal::app
