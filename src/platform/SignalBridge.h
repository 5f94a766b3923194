#pragma once

#include <QObject>

class QSocketNotifier;

namespace navcal::platform {

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal delivered in the event
// loop (self-pipe), so the system ending the saver goes through the window's
// ordinary close.
class SignalBridge : public QObject {
    Q_OBJECT
  public:
    // Installs the handlers (once); signals caught before a bridge exists
    // wait for it. Called first thing in main(), before the toolkit starts,
    // so that no signal finds the default action.
    static void installHandlers();
    explicit SignalBridge(QObject* parent = nullptr);
    ~SignalBridge() override;

    // Whether a termination signal has arrived, even if the event loop has
    // not handled it yet.
    static bool terminationArrived();
    // The first termination signal that arrived, or 0.
    static int arrivedSignal();
    // Readable once a termination signal has arrived, for a wait that must
    // end with it (poll); -1 when there is none. Never read from it: the
    // signal stays there for the bridge.
    static int wakeDescriptor();

  signals:
    void terminationRequested(int signalNumber);

  private:
    void readSignal();
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace navcal::platform
