#pragma once

#include <QObject>
#include <QSize>
#include <memory>

class QSocketNotifier;
class QTimer;

namespace navcal::platform {

// Whether this system has a screensaver host that lends its own window to a
// display program (XScreenSaver on X11). Elsewhere its switches are not read
// at all, so they change nothing.
bool hasWindowLendingHost();

// Whether this system's screensaver host asks for a preview inside a window
// of its settings dialog ("/p HANDLE", Windows). Elsewhere "/p" draws nothing.
bool hasPreviewHost();

// The exit code of a hosted run whose window is not usable or goes away:
// an error XScreenSaver reports on X11; on Windows the settings dialog ends
// a preview by destroying its window, so that is an ordinary end.
int hostGoneExitCode();

// Makes the toolkit draw where the host's windows live (X11 for a lent
// window, whatever the session prefers); called before it starts.
void prepareToolkitForHost();

// A window lent by the host, on its own display connection: checked once when
// opened, then watched through its events so that its disappearance ends the
// run at once.
class HostWindow : public QObject {
    Q_OBJECT
  public:
    // Null with `error` set when the display cannot be reached or the id is
    // not a window, or is a screen's root window (never drawn on).
    static std::unique_ptr<HostWindow> open(quint32 window, QString* error);
    ~HostWindow() override;

    // Starts watching; needs the application's event loop to exist.
    void watch();

    quint32 id() const { return m_window; }
    // The window's inside in the toolkit's device-independent pixels, which a window's
    // geometry is given in; needs the application object.
    QSize logicalSize() const;

  signals:
    void resized(QSize logicalSize);
    void lost(const QString& reason);

  private:
    HostWindow(void* connection, quint32 window, QSize size);
    void readEvents();
    // Windows: whether the window is still there and its size, looked at
    // on a timer (no notice of another program's window reaches us).
    void check();
    QSize measured() const;

    void* m_connection; // xcb_connection_t; unused on Windows
    quint32 m_window;
    QSize m_size;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_poll = nullptr;
    bool m_lost = false;
};

} // namespace navcal::platform
