#include "app/Form1.h"
#include "app/Launch.h"
#include "app/ScreenCovers.h"
#include "layout/Fonts.h"
#include "layout/Pointers.h"
#include "platform/DesktopUrlOpener.h"
#include "platform/DisplayConnection.h"
#include "platform/HostWindow.h"
#include "platform/SdlMusic.h"
#include "platform/SessionBus.h"
#include "platform/SignalBridge.h"
#include "platform/SingleInstance.h"
#include "platform/WindowsFolder.h"

#include <QApplication>
#include <QStringList>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

using namespace navcal;

namespace {

void complain(const QString& line) {
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

// Puts the window inside the one the host lent: the host keeps input, the
// lock and the end, so ours takes no input and follows its size.
void embed(app::Form1& form, platform::HostWindow& host) {
    form.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                        Qt::WindowDoesNotAcceptFocus);
    form.setFocusPolicy(Qt::NoFocus);
    form.winId();
    form.windowHandle()->setParent(QWindow::fromWinId(WId(host.id())));
    form.move(0, 0);
    form.resize(host.logicalSize());
    QObject::connect(&host, &platform::HostWindow::resized, &form,
                     [&form](QSize size) { form.fitToScreen(QRect(QPoint(0, 0), size)); });
    // Nothing of ours is left to save once the host's window is gone; ending
    // here keeps the toolkit from reporting errors on the vanished window.
    QObject::connect(&host, &platform::HostWindow::lost, [](const QString& reason) {
        // A host that ends us sends the signal first and then drops its
        // window: that is an ordinary end, not a lost window.
        if (platform::SignalBridge::terminationArrived())
            std::_Exit(0);
        complain(reason);
        std::fflush(stderr);
        std::_Exit(platform::hostGoneExitCode());
    });
    form.show();
    host.watch();
}

} // namespace

int main(int argc, char** argv) {
    // Before anything else: a termination signal from now on ends the
    // program through its ordinary close, never by the default action.
    platform::SignalBridge::installHandlers();

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    const std::optional<platform::HostWindowRequest> hosted = app::hostWindowRequest(arguments);
    std::unique_ptr<platform::HostWindow> host;
    if (hosted) {
        if (!hosted->error.isEmpty()) {
            complain(hosted->error);
            return 2;
        }
        QString error;
        host = platform::HostWindow::open(hosted->window, &error);
        if (!host) {
            complain(error);
            return platform::hostGoneExitCode();
        }
        platform::prepareToolkitForHost();
        platform::leaveTheSessionBusUnstarted();
    }

    // The command line is the screensaver host's alone: Qt sees only the name.
    const app::LaunchMode mode = host ? app::LaunchMode::Run : app::CheckCommandLine(arguments);
    if (mode == app::LaunchMode::Preview)
        return 0;

    platform::PreparedDisplay display;
    if (!display.usable()) {
        complain(display.error());
        return 1;
    }
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication application(qtArgc, qtArgv);
    display.release();
    QApplication::setApplicationName(QStringLiteral("navcal"));
    QApplication::setWindowIcon(layout::lifebuoyIcon());
    layout::installFontSubstitutes();

    platform::SignalBridge signals_;
    if (mode == app::LaunchMode::Configure) {
        // Ends the notice's own event loop too.
        QObject::connect(&signals_, &platform::SignalBridge::terminationRequested, &application,
                         [] { QCoreApplication::exit(0); });
        app::showConfigureNotice(arguments);
        return 0;
    }

    // The host's preview and its saver may run at once: no lock when hosted.
    std::optional<platform::SingleInstance> instance;
    if (!host) {
        instance.emplace();
        if (!instance->acquire())
            return 0;
    }

    calendar::SystemClock clock;
    layout::MersenneRandom random;
    platform::SdlMusic sound;
    // The host cycles its display programs: a tune restarting with each turn
    // is not wanted, so a hosted run is silent.
    platform::SilentMusic silence;
    platform::DesktopUrlOpener opener;

    app::Form1Services services;
    services.clock = &clock;
    services.random = &random;
    services.music = host ? static_cast<platform::MusicSink*>(&silence) : &sound;
    services.opener = &opener;
    services.locale = QLocale::system();
    services.windowsFolder = platform::windowsFolder();
    services.userFolder = platform::userDataFolder();
    services.programFolder = platform::programFolder();
    // The lent window is the screen: the arrangement is scaled to fit it.
    if (host)
        services.screenPixels = host->logicalSize();

    app::Form1 form(services);
    QObject::connect(&signals_, &platform::SignalBridge::terminationRequested, &form,
                     [&form] { form.close(); });
    // The first frame comes first; the music and, for a run with its own
    // window, the other monitors' covers follow it.
    form.loadFrame();
    std::optional<app::ScreenCovers> covers;
    const bool ownWindow = host == nullptr;
    form.afterFirstFrame([&form, &covers, ownWindow] {
        if (ownWindow)
            covers.emplace(form);
        form.startMusic();
    });
    if (host)
        embed(form, *host);
    else
        form.showFullScreen();
    form.startTimers();
    return application.exec();
}
