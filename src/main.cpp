#include "app/BackgroundDecode.h"
#include "app/CommandLine.h"
#include "app/ConfigureNotice.h"
#include "app/Saver.h"
#include "design/Fonts.h"
#include "platform/DataFolders.h"
#include "platform/DesktopUrlOpener.h"
#include "platform/DisplayConnection.h"
#include "platform/ErrorLine.h"
#include "platform/FileOpener.h"
#include "platform/HostWindow.h"
#include "platform/SdlMusic.h"
#include "platform/SessionBus.h"
#include "platform/SignalBridge.h"
#include "platform/SingleInstance.h"
#include "platform/StderrAside.h"
#include "widgets/Pointers.h"
#include "yearout/Wallpaper.h"
#include "yearout/YearExport.h"

#include <QApplication>
#include <QByteArray>
#include <QFontDatabase>
#include <QProcessEnvironment>
#include <QScreen>
#include <QStringList>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

using namespace navcal;

namespace {

// The toolkit's command line: the program's name and the platform's options.
// The strings must live as long as the application that reads them.
struct ToolkitArguments {
    ToolkitArguments(const char* program, const QStringList& options) {
        strings.emplace_back(program);
        for (const QString& option : options)
            strings.push_back(option.toLocal8Bit());
        for (QByteArray& string : strings)
            argv.push_back(string.data());
        argv.push_back(nullptr);
        argc = int(strings.size());
    }
    ToolkitArguments(const ToolkitArguments&) = delete;
    ToolkitArguments& operator=(const ToolkitArguments&) = delete;

    std::vector<QByteArray> strings;
    std::vector<char*> argv;
    int argc = 0;
};

// Writes the year out: no display, no lock, so it runs on a machine
// without one and beside a running saver. Today's picture without a size
// takes the display's screen when there is one.
int writeYear(char* program, const app::ExportRequest& request) {
    // Its stderr carries navcal's own lines alone: the toolkit's notes about
    // the environment (no runtime folder, say) would make one line two.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    std::optional<platform::PreparedDisplay> display;
    if (request.form == app::ExportRequest::Form::Png && !request.size) {
        display.emplace();
        if (!display->usable())
            display.reset();
    }
    ToolkitArguments qt(program, display ? display->toolkitArguments()
                                         : platform::offscreenToolkitArguments());
    // The font library, started and ended with the toolkit, speaks on stderr.
    std::optional<platform::StderrAside> aside(std::in_place);
    QApplication application(qt.argc, qt.argv.data());
    if (display)
        display->release();
    QApplication::setApplicationName(QStringLiteral("navcal"));
    design::installFontSubstitutes();
    // The font library reads its settings when the first font is looked up,
    // and speaks then: the forms that draw look theirs up here.
    if (request.form != app::ExportRequest::Form::ICalendar)
        QFontDatabase::families();
    aside.reset();

    calendar::SystemClock clock;
    yearout::ExportServices services;
    services.clock = &clock;
    services.locale = QLocale::system();
    services.userFolder = platform::userDataFolder();
    services.systemFolder = platform::systemDataFolder();
    services.programFolder = platform::programFolder();
    services.documentsFolder = platform::documentsFolder();
    services.openFile = platform::openWithDesktop;
    const int code = yearout::exportYear(request, services);
    // And again when the toolkit ends, after navcal's own lines.
    aside.emplace();
    return code;
}

// Today's calendar as the desktop's background. Drawn with no window, at the
// sizes of the display's monitors when there is a display; without one, at
// those of the last run.
int setBackground(char* program, const app::WallpaperRequest& request) {
    std::optional<platform::PreparedDisplay> display;
    if (request.action != app::WallpaperRequest::Action::Off)
        display.emplace();
    const bool onDisplay = display && display->usable();
    ToolkitArguments qt(program, onDisplay ? display->toolkitArguments()
                                           : platform::offscreenToolkitArguments());
    // The font library's notes stay off its lines, as an export's do.
    std::optional<platform::StderrAside> aside(std::in_place);
    QApplication application(qt.argc, qt.argv.data());
    if (display)
        display->release();
    QApplication::setApplicationName(QStringLiteral("navcal"));
    design::installFontSubstitutes();
    if (request.action != app::WallpaperRequest::Action::Off)
        QFontDatabase::families();
    aside.reset();

    calendar::SystemClock clock;
    yearout::WallpaperServices services;
    services.picture.clock = &clock;
    services.picture.locale = QLocale::system();
    services.picture.userFolder = platform::userDataFolder();
    services.picture.systemFolder = platform::systemDataFolder();
    services.picture.programFolder = platform::programFolder();
    services.program = QCoreApplication::applicationFilePath();
    if (onDisplay) {
        QList<QScreen*> screens = QGuiApplication::screens();
        screens.removeOne(QGuiApplication::primaryScreen());
        screens.prepend(QGuiApplication::primaryScreen());
        for (const QScreen* screen : screens)
            services.monitors.push_back(
                {screen->name(),
                 (QSizeF(screen->geometry().size()) * screen->devicePixelRatio()).toSize()});
    }
    const int code = yearout::wallpaper(request, services);
    aside.emplace();
    return code;
}

// Opens the window a screensaver host lent and readies the toolkit and the
// bus for it; the exit code when that cannot be done.
std::optional<int> openHost(const app::HostWindowRequest& request,
                            std::unique_ptr<platform::HostWindow>& host) {
    if (!request.error.isEmpty()) {
        platform::writeErrorLine(request.error);
        return 2;
    }
    QString error;
    host = platform::HostWindow::open(request.window, &error);
    if (!host) {
        platform::writeErrorLine(error);
        return platform::hostGoneExitCode();
    }
    platform::prepareToolkitForHost();
    platform::leaveTheSessionBusUnstarted();
    return std::nullopt;
}

// The saver with the system's services, full screen or inside `host`'s
// window, until it ends; `lock` is held while it runs (none when hosted).
int runSaver(platform::HostWindow* host, platform::SingleInstance* lock,
             platform::SignalBridge& signals_) {
    calendar::SystemClock clock;
    design::MersenneRandom random;
    platform::SdlMusic sound;
    // The host cycles its display programs: a tune restarting with each turn
    // is not wanted, so a hosted run is silent.
    platform::SilentMusic silence;
    platform::DesktopUrlOpener opener;

    app::SaverServices services;
    services.clock = &clock;
    services.random = &random;
    services.music = host ? static_cast<platform::MusicSink*>(&silence) : &sound;
    services.opener = &opener;
    services.locale = QLocale::system();
    services.userFolder = platform::userDataFolder();
    services.systemFolder = platform::systemDataFolder();
    services.programFolder = platform::programFolder();
    services.lock = lock;
    // The lent window is the screen: the arrangement is scaled to fit it.
    if (host)
        services.screenPixels = host->logicalSize();

    app::Saver saver(services);
    QObject::connect(&signals_, &platform::SignalBridge::terminationRequested, &saver,
                     [&saver] { saver.end(); });
    if (host)
        saver.runInside(*host);
    else
        saver.runFullScreen();
    // The user's own run keeps a calendar on the desktop current too.
    if (!host)
        yearout::refreshAside(services.userFolder, QCoreApplication::applicationFilePath());
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    // Before anything else: a termination signal from now on ends the
    // program through its ordinary close, never by the default action.
    platform::SignalBridge::installHandlers();
    // Whatever path runs, the saver or the year written out, decodes
    // pictures within the decoders' limit.
    app::limitPictureDecoding();

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    const app::CommandLine commandLine =
        app::readCommandLine(arguments, QProcessEnvironment::systemEnvironment());
    if (const std::optional<app::ExportRequest>& request = commandLine.yearExport) {
        if (!request->error.isEmpty()) {
            platform::writeErrorLine(request->error);
            return 2;
        }
        return writeYear(argv[0], *request);
    }

    if (const std::optional<app::WallpaperRequest>& request = commandLine.wallpaper) {
        if (!request->error.isEmpty()) {
            platform::writeErrorLine(request->error);
            return 2;
        }
        return setBackground(argv[0], *request);
    }

    std::unique_ptr<platform::HostWindow> host;
    if (const std::optional<app::HostWindowRequest>& hosted = commandLine.hostWindow)
        if (const std::optional<int> failed = openHost(*hosted, host))
            return *failed;

    // The command line is the screensaver host's alone: Qt sees only the name.
    const app::LaunchMode mode = commandLine.mode;
    if (mode == app::LaunchMode::Preview)
        return 0;

    platform::PreparedDisplay display;
    if (!display.usable()) {
        platform::writeErrorLine(display.error());
        return 1;
    }
    ToolkitArguments qt(argv[0], display.toolkitArguments());
    QApplication application(qt.argc, qt.argv.data());
    display.release();
    QApplication::setApplicationName(QStringLiteral("navcal"));
    QApplication::setWindowIcon(widgets::lifebuoyIcon());
    design::installFontSubstitutes();

    platform::SignalBridge signals_;
    if (mode == app::LaunchMode::Configure) {
        // Ends the notice's own event loop too.
        QObject::connect(&signals_, &platform::SignalBridge::terminationRequested, &application,
                         [] { QCoreApplication::exit(0); });
        app::showConfigureNotice(commandLine.noticeOwner);
        return 0;
    }

    // The host's preview and its saver may run at once: no lock when hosted.
    std::optional<platform::SingleInstance> instance;
    if (!host) {
        instance.emplace();
        if (!instance->acquire())
            return 0;
    }

    return runSaver(host.get(), instance ? &*instance : nullptr, signals_);
}
