#include "app/CommandLine.h"

#include "platform/HostWindow.h"

#include <algorithm>

namespace navcal::app {

namespace {

// Who passes a switch, which says how it is written.
enum class Host {
    // The system's screensaver settings: one letter after '/' or '-', any
    // letter case, at the head of the arguments joined into one text; a
    // window handle may follow after ':' or blanks.
    Settings,
    // A screensaver host that lends its window (X11): an argument of its own
    // after '-' or '--', written as here; a value is the next argument.
    WindowLending,
    // A person, or the desktop's menu: "--" and the name as the first
    // argument, written as here; the arguments after it are its values.
    Person,
};

enum class Asks { Configure, Preview, LentRoot, LentWindow, ICalendar, Pdf, Png, Wallpaper };

struct Switch {
    Host host;
    QLatin1String name;
    Asks asks;
    // Settings only: what may follow the letter besides ':', a blank or the
    // end. The settings dialog's "/p" carries anything; "-p" only digits, so
    // that toolkit-style options such as "-platform x" stay text that runs.
    bool anythingAfterSlash = false;
    bool digitsAfterDash = false;
};

// Every switch the program reads.
const Switch kSwitches[] = {
    {Host::Settings, QLatin1String("c"), Asks::Configure},
    {Host::Settings, QLatin1String("p"), Asks::Preview, true, true},
    {Host::WindowLending, QLatin1String("root"), Asks::LentRoot},
    {Host::WindowLending, QLatin1String("window-id"), Asks::LentWindow},
    {Host::Person, QLatin1String("ics"), Asks::ICalendar},
    {Host::Person, QLatin1String("pdf"), Asks::Pdf},
    {Host::Person, QLatin1String("png"), Asks::Png},
    {Host::Person, QLatin1String("wallpaper"), Asks::Wallpaper},
};

const QString kLentWindowVariable = QStringLiteral("XSCREENSAVER_WINDOW");

// The settings' switch at the head of `command` (trimmed, lower case).
const Switch* settingsSwitch(const QString& command) {
    if (command.size() < 2 || (command.at(0) != u'/' && command.at(0) != u'-'))
        return nullptr;
    for (const Switch& s : kSwitches) {
        if (s.host != Host::Settings || command.at(1) != s.name.at(0))
            continue;
        if (command.size() == 2)
            return &s;
        const QChar after = command.at(2);
        if (after == u':' || after.isSpace() || (command.at(0) == u'/' && s.anythingAfterSlash) ||
            (after.isDigit() && s.digitsAfterDash))
            return &s;
    }
    return nullptr;
}

// The window handle after the settings' switch ("/p 1234", "/p:1234",
// "/c:1234"): decimal, non-zero, at most 32 bits (the significant part of
// every window handle).
std::optional<quint32> settingsHandle(const QString& command) {
    if (command.size() < 3)
        return std::nullopt;
    qsizetype start = 2;
    if (command.at(start) == u':')
        ++start;
    while (start < command.size() && command.at(start).isSpace())
        ++start;
    const QString digits = command.mid(start);
    // Digits only: "+12", "0x1f" or "12abc" is no handle a host would pass.
    if (digits.isEmpty() || digits.size() > 10 ||
        !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    const qulonglong value = digits.toULongLong();
    if (value == 0 || value > 0xffffffffu)
        return std::nullopt;
    return quint32(value);
}

bool allDigits(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// "WIDTHxHEIGHT" in decimal pixels, each side within the picture's limits;
// else the line that says why not.
QString readPictureSize(const QString& text, std::optional<QSize>& size) {
    const QStringList sides = text.split(QLatin1Char('x'));
    if (sides.size() == 2 && allDigits(sides.at(0)) && allDigits(sides.at(1)) &&
        sides.at(0).size() <= 4 && sides.at(1).size() <= 4) {
        const QSize pixels(sides.at(0).toInt(), sides.at(1).toInt());
        const auto within = [](int side) {
            return side >= kMinPictureSide && side <= kMaxPictureSide;
        };
        if (within(pixels.width()) && within(pixels.height())) {
            size = pixels;
            return {};
        }
    }
    return QStringLiteral("navcal: --png: the size \"%1\" is not WIDTHxHEIGHT with each side "
                          "from %2 to %3 pixels")
        .arg(text)
        .arg(kMinPictureSide)
        .arg(kMaxPictureSide);
}

// The year written out as `asks` says, "--NAME FILE [YEAR or SIZE]" in `switches`.
ExportRequest exportRequest(Asks asks, const QStringList& switches) {
    using Form = ExportRequest::Form;
    const QString& name = switches.at(0);
    ExportRequest request;
    request.form = asks == Asks::Pdf ? Form::Pdf : asks == Asks::Png ? Form::Png : Form::ICalendar;
    const QStringList rest = switches.mid(1);
    const qsizetype most = request.form == Form::ICalendar ? 1 : 2;
    if (rest.isEmpty() || rest.first().isEmpty()) {
        request.error = QStringLiteral("navcal: %1 needs a FILE to write (- for standard output, "
                                       "--open for the documents folder)")
                            .arg(name);
    } else if (rest.size() > most) {
        request.error =
            QStringLiteral("navcal: %1 takes %2; \"%3\" is one argument too many")
                .arg(name,
                     most == 1                   ? QStringLiteral("one FILE")
                     : request.form == Form::Png ? QStringLiteral("a FILE and a WIDTHxHEIGHT")
                                                 : QStringLiteral("a FILE and a YEAR"),
                     rest.at(most));
    } else if (rest.size() == 2 && request.form == Form::Png) {
        request.error = readPictureSize(rest.at(1), request.size);
    } else if (rest.size() == 2) {
        const QString& text = rest.at(1);
        bool number = text.size() == 4 &&
                      std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
        const int year = number ? text.toInt(&number) : 0;
        if (!number || year < kFirstExportYear || year > kLastExportYear)
            request.error =
                QStringLiteral("navcal: --pdf: the year \"%1\" is not one from %2 to %3")
                    .arg(text)
                    .arg(kFirstExportYear)
                    .arg(kLastExportYear);
        request.year = year;
    }
    if (request.error.isEmpty()) {
        request.open = rest.first() == QLatin1String("--open");
        if (!request.open)
            request.file = rest.first();
    }
    return request;
}

// "--wallpaper [off|refresh]" in `switches`.
WallpaperRequest wallpaperRequest(const QStringList& switches) {
    using Action = WallpaperRequest::Action;
    WallpaperRequest request;
    const QString what = switches.value(1);
    if (switches.size() > 2)
        request.error = QStringLiteral("navcal: --wallpaper takes at most one word; \"%1\" is one "
                                       "argument too many")
                            .arg(switches.at(2));
    else if (what == QLatin1String("off"))
        request.action = Action::Off;
    else if (what == QLatin1String("refresh"))
        request.action = Action::Refresh;
    else if (switches.size() == 2)
        request.error =
            QStringLiteral("navcal: --wallpaper takes off or nothing, not \"%1\"").arg(what);
    return request;
}

// A lending host's window id, decimal or 0x hex, from `source`.
HostWindowRequest windowId(const QString& text, const QString& source) {
    const QString id = text.trimmed();
    bool ok = false;
    qulonglong value = 0;
    if (id.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = id.mid(2).toULongLong(&ok, 16);
    else
        value = id.toULongLong(&ok, 10);
    // Zero would make some toolkits pick the root window: never accept it.
    if (!ok || value == 0 || value > 0xffffffffu)
        return {0, QStringLiteral("navcal: %1 \"%2\" is not a window id (decimal or 0x hex)")
                       .arg(source, text)};
    return {quint32(value), {}};
}

bool isLendingSwitch(const QString& argument, Asks asks) {
    for (const Switch& s : kSwitches)
        if (s.host == Host::WindowLending && s.asks == asks)
            return argument == QLatin1Char('-') + s.name ||
                   argument == QLatin1String("--") + s.name;
    return false;
}

// The lending host's request: "-window-id ID" first, then the variable (with
// "-root" or alone), else "-root" without it is an error.
std::optional<HostWindowRequest> lendingRequest(const QStringList& switches,
                                                const QProcessEnvironment& environment) {
    for (qsizetype i = 0; i < switches.size(); ++i) {
        if (!isLendingSwitch(switches.at(i), Asks::LentWindow))
            continue;
        if (i + 1 >= switches.size())
            return HostWindowRequest{0, QStringLiteral("navcal: -window-id needs a window id")};
        return windowId(switches.at(i + 1), QStringLiteral("-window-id"));
    }
    if (environment.contains(kLentWindowVariable))
        return windowId(environment.value(kLentWindowVariable), kLentWindowVariable);
    if (std::any_of(switches.begin(), switches.end(),
                    [](const QString& s) { return isLendingSwitch(s, Asks::LentRoot); }))
        return HostWindowRequest{
            0, QStringLiteral("navcal: -root without %1: the desktop's root window is never "
                              "drawn on")
                   .arg(kLentWindowVariable)};
    return std::nullopt;
}

} // namespace

CommandLine readCommandLine(const QStringList& arguments, const QProcessEnvironment& environment) {
    CommandLine line;
    const QStringList switches = arguments.mid(1);
    // A screensaver host passes none of a person's switches: they come first.
    for (const Switch& s : kSwitches) {
        if (s.host == Host::Person && switches.value(0) == QLatin1String("--") + s.name) {
            if (s.asks == Asks::Wallpaper)
                line.wallpaper = wallpaperRequest(switches);
            else
                line.yearExport = exportRequest(s.asks, switches);
            return line;
        }
    }
    // A host that lends its window comes before the settings' switches.
    if (platform::hasWindowLendingHost()) {
        line.hostWindow = lendingRequest(switches, environment);
        if (line.hostWindow)
            return line;
    }
    const QString command = switches.join(QLatin1Char(' ')).trimmed().toLower();
    const Switch* found = settingsSwitch(command);
    if (!found)
        return line;
    const std::optional<quint32> handle = settingsHandle(command);
    if (found->asks == Asks::Configure) {
        line.mode = LaunchMode::Configure;
        line.noticeOwner = handle;
    } else if (platform::hasPreviewHost() && handle) {
        line.hostWindow = HostWindowRequest{*handle, {}};
    } else {
        line.mode = LaunchMode::Preview;
    }
    return line;
}

} // namespace navcal::app
