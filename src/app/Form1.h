#pragma once

#include "app/ScreenFit.h"
#include "app/WindowBackground.h"
#include "calendar/Clock.h"
#include "calendar/Today.h"
#include "layout/Controls.h"
#include "layout/RandomPalette.h"
#include "platform/MusicSink.h"
#include "platform/UrlOpener.h"

#include <QHash>
#include <QImage>
#include <QLocale>
#include <QRect>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

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

class QThread;

namespace navcal::app {

// What the window gets from outside: the platform's services and, for tests,
// a fixed screen.
struct Form1Services {
    calendar::Clock* clock = nullptr;
    layout::RandomSource* random = nullptr;
    platform::MusicSink* music = nullptr;
    platform::UrlOpener* opener = nullptr;
    QLocale locale;
    QString windowsFolder;
    QString userFolder; // the user's own, looked in first for each file; empty: none
    QString programFolder;
    std::optional<QSize> screenPixels;   // the primary screen when empty
    std::function<void(int)> endProgram; // ends the program; quits the event loop when empty

    // Where 1.jpg and muzz.* are looked for, in order.
    QStringList dataFolders() const { return {userFolder, windowsFolder}; }
};

// The one window of the screensaver.
class Form1 : public QWidget {
    Q_OBJECT
  public:
    explicit Form1(Form1Services services, QWidget* parent = nullptr);
    ~Form1() override;

    // The whole start-up after the command line and single-instance decisions:
    // background, geometry, centring, state and music.
    void load();
    // The same without the music: all that the first frame needs.
    void loadFrame();
    void startMusic();
    // Runs `rest` (what can wait: the music, the other monitors) once the
    // first frame has been painted, or after `latestMs` if no frame comes.
    void afterFirstFrame(std::function<void()> rest, int latestMs = 1000);
    // Lets the stored timers tick; called once the window is shown.
    void startTimers();
    // Moves the window onto a screen of `geometry` (pixels) while it runs:
    // the arrangement is scaled to fit it and placed as at start-up, keeping
    // what the handlers have changed since.
    void fitToScreen(const QRect& geometry);
    const QRect& screenGeometry() const { return m_fit.geometry; }

    layout::Controls& controls() { return *m_controls; }
    // The screen measured in the design's twips (at the arrangement's scale).
    float screenWidth() const { return m_fit.width; }
    float screenHeight() const { return m_fit.height; }
    double twipsPerPixel() const { return m_twipsPerPixel; }
    // How the stored arrangement is scaled to fill the screen.
    const layout::TwipScale& scale() const { return m_fit.scale; }
    QPointF labelOffset() const { return m_fit.labelOffset(); }
    // How often the background has been fitted to the window (once per size).
    int backgroundScalings() const { return m_background.scalings(); }

    const calendar::Today& today() const { return *m_today; }
    const QString& musicPath() const;

    layout::RandomPalette& randomPalette() { return m_palette; }
    panels::MonthPanels& monthPanels() { return *m_panels; }
    banner::Banner& banner() { return *m_banner; }
    extras::ClockDisplay& clockDisplay() { return *m_clockDisplay; }
    extras::Music& music() { return *m_music; }
    extras::Decorations& decorations() { return *m_decorations; }

    // Stops the music and closes the window (a character key, a background click).
    void stopAndClose();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void loadBackground();
    QSize backgroundPixels() const; // the window's size in device pixels
    void wireHandlers();

    Form1Services m_services;
    double m_twipsPerPixel;
    ScreenFit m_fit;
    std::unique_ptr<layout::Controls> m_controls;
    std::unique_ptr<calendar::Today> m_today;
    layout::RandomPalette m_palette;
    std::unique_ptr<panels::MonthPanels> m_panels;
    std::unique_ptr<banner::Banner> m_banner;
    std::unique_ptr<extras::ClockDisplay> m_clockDisplay;
    std::unique_ptr<extras::Music> m_music;
    std::unique_ptr<extras::WebLink> m_webLink;
    std::unique_ptr<extras::Decorations> m_decorations;
    WindowBackground m_background;
    // The background being decoded since construction, for m_backgroundPixels.
    std::unique_ptr<QThread> m_decoding;
    QImage m_decoded;
    QHash<QString, QImage> m_largeRenderings; // decoded with it, by stored picture
    QSize m_backgroundPixels;
    bool m_painted = false;
    std::function<void()> m_afterFirstFrame;
    bool m_unloaded = false;
};

} // namespace navcal::app
