#include "app/Form1.h"
#include "app/Launch.h"
#include "app/ScreenCovers.h"
#include "app/SignalBridge.h"
#include "app/SingleInstance.h"
#include "app/WindowsFolder.h"
#include "extras/DesktopUrlOpener.h"
#include "extras/SdlMixerSink.h"
#include "layout/Fonts.h"
#include "layout/Pointers.h"

#include <QApplication>
#include <QStringList>

using namespace navcal;

int main(int argc, char** argv) {
    // Before anything else: a termination signal from now on ends the
    // program through its ordinary close, never by the default action.
    app::SignalBridge::installHandlers();

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    // The command line is the screensaver host's alone: Qt sees only the name.
    const app::LaunchMode mode = app::CheckCommandLine(arguments);
    if (mode == app::LaunchMode::Preview)
        return 0;

    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication application(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("navcal"));
    QApplication::setWindowIcon(layout::lifebuoyIcon());
    layout::installFontSubstitutes();

    app::SignalBridge signals_;
    if (mode == app::LaunchMode::Configure) {
        // Ends the notice's own event loop too.
        QObject::connect(&signals_, &app::SignalBridge::terminationRequested, &application,
                         [] { QCoreApplication::exit(0); });
        app::showConfigureNotice();
        return 0;
    }

    app::SingleInstance instance;
    if (!instance.acquire())
        return 0;

    calendar::SystemClock clock;
    app::MersenneRandom random;
    extras::SdlMixerSink multimedia;
    extras::DesktopUrlOpener opener;

    app::Form1Services services;
    services.clock = &clock;
    services.random = &random;
    services.multimedia = &multimedia;
    services.opener = &opener;
    services.locale = QLocale::system();
    services.windowsFolder = app::windowsFolder();
    services.programFolder = app::programFolder();

    app::Form1 form(services);
    QObject::connect(&signals_, &app::SignalBridge::terminationRequested, &form,
                     [&form] { form.close(); });
    form.load();
    form.showFullScreen();
    app::ScreenCovers covers(form); // the other monitors
    form.startTimers();
    return application.exec();
}
