#include "yearout/Wallpaper.h"

#include "platform/CheckedWrite.h"
#include "platform/DesktopBackground.h"
#include "platform/ErrorLine.h"
#include "platform/RefreshSchedule.h"
#include "platform/SafeFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <map>
#include <memory>

namespace navcal::yearout {

namespace {

using Action = app::WallpaperRequest::Action;

const QString kStateFile = QStringLiteral("desktop.json");
const QStringList kRefresh{QStringLiteral("--wallpaper"), QStringLiteral("refresh")};
// A monitor's size when nothing says: the most common screen.
const QSize kNoDisplay(1920, 1080);

// What is kept between runs.
struct State {
    QString desktop;  // the desktop's own name, as it was set on
    QStringList kept; // what it showed before the first change
    QStringList ours; // what it showed after the last change
    std::vector<Monitor> monitors;
    QStringList pictures; // file names in the folder
};

QJsonArray strings(const QStringList& list) {
    return QJsonArray::fromStringList(list);
}

QStringList strings(const QJsonValue& value) {
    QStringList list;
    for (const QJsonValue& v : value.toArray())
        list << v.toString();
    return list;
}

std::optional<State> readState(const QDir& folder) {
    const std::optional<QByteArray> bytes =
        platform::readRegularFile(folder.filePath(kStateFile), 64 * 1024);
    if (!bytes)
        return std::nullopt;
    const QJsonObject o = QJsonDocument::fromJson(*bytes).object();
    if (o.value(QLatin1String("desktop")).toString().isEmpty())
        return std::nullopt;
    State state{o.value(QLatin1String("desktop")).toString(),
                strings(o.value(QLatin1String("kept"))),
                strings(o.value(QLatin1String("ours"))),
                {},
                strings(o.value(QLatin1String("pictures")))};
    for (const QJsonValue& v : o.value(QLatin1String("monitors")).toArray()) {
        const QJsonObject m = v.toObject();
        const QSize size(m.value(QLatin1String("width")).toInt(),
                         m.value(QLatin1String("height")).toInt());
        // A file edited by hand is no reason to draw a picture of any size.
        if (size.width() >= 160 && size.height() >= 160 && size.width() <= 16384 &&
            size.height() <= 16384)
            state.monitors.push_back({m.value(QLatin1String("name")).toString(), size});
    }
    return state;
}

QString writeState(const QDir& folder, const State& state) {
    QJsonArray monitors;
    for (const Monitor& m : state.monitors)
        monitors.append(QJsonObject{{QLatin1String("name"), m.name},
                                    {QLatin1String("width"), m.pixels.width()},
                                    {QLatin1String("height"), m.pixels.height()}});
    const QJsonObject o{{QLatin1String("desktop"), state.desktop},
                        {QLatin1String("kept"), strings(state.kept)},
                        {QLatin1String("ours"), strings(state.ours)},
                        {QLatin1String("monitors"), monitors},
                        {QLatin1String("pictures"), strings(state.pictures)}};
    return platform::writeWhole(folder.filePath(kStateFile), QJsonDocument(o).toJson());
}

// Every picture this program leaves in the folder, by its name's pattern.
QStringList picturesIn(const QDir& folder) {
    static const QRegularExpression name(QStringLiteral("^desktop-\\d+x\\d+-[0-9a-f]{12}\\.png$"));
    QStringList found;
    for (const QString& file : folder.entryList({QStringLiteral("desktop-*.png")}, QDir::Files))
        if (name.match(file).hasMatch())
            found << file;
    return found;
}

void removePictures(const QDir& folder, const QStringList& names, const QStringList& keep = {}) {
    for (const QString& name : names)
        if (!keep.contains(name))
            QFile::remove(folder.filePath(name));
}

// Today's pictures for `monitors`: one per size, named by their size and
// their pixels, so that the same picture has the same name.
struct Made {
    std::vector<platform::MonitorPicture> shown; // each monitor's, the primary first
    std::map<QString, QImage> images;            // by file name
    QStringList names() const {
        QStringList list;
        for (const auto& [name, image] : images)
            list << name;
        return list;
    }
};

Made makePictures(const std::vector<Monitor>& monitors, const QDir& folder,
                  const PictureServices& services) {
    Made made;
    std::map<std::pair<int, int>, QString> bySize;
    for (const Monitor& monitor : monitors) {
        const std::pair<int, int> key{monitor.pixels.width(), monitor.pixels.height()};
        if (!bySize.count(key)) {
            const QImage image = todaysPicture(monitor.pixels, services);
            const QByteArray hash =
                QCryptographicHash::hash(QByteArrayView(image.constBits(), image.sizeInBytes()),
                                         QCryptographicHash::Sha256)
                    .toHex()
                    .left(12);
            const QString name = QStringLiteral("desktop-%1x%2-%3.png")
                                     .arg(key.first)
                                     .arg(key.second)
                                     .arg(QString::fromLatin1(hash));
            bySize[key] = name;
            made.images[name] = image;
        }
        made.shown.push_back({monitor.name, folder.filePath(bySize[key])});
    }
    return made;
}

// Writes the pictures that are not there yet; empty, or the line for the user.
QString writePictures(const Made& made, const QDir& folder) {
    for (const auto& [name, image] : made.images) {
        const QString file = folder.filePath(name);
        if (QFile::exists(file))
            continue;
        if (const QString why = writePicture(file, image); !why.isEmpty())
            return QStringLiteral("navcal: cannot write %1: %2")
                .arg(QDir::toNativeSeparators(file), why);
    }
    return {};
}

int fail(const QString& line) {
    platform::writeErrorLine(line);
    return 1;
}

// Shows `made` on `background`, keeping `state` (whose `kept` and `desktop`
// are set) on disk before and after. Returns the exit code.
int showPictures(const platform::DesktopBackground& background, const Made& made, State state,
                 const QDir& folder, bool firstChange) {
    // What to put back is on disk before anything changes.
    if (firstChange) {
        state.ours = state.kept;
        if (const QString why = writeState(folder, state); !why.isEmpty())
            return fail(QStringLiteral("navcal: cannot write %1: %2")
                            .arg(QDir::toNativeSeparators(folder.filePath(kStateFile)), why));
    }
    const QStringList before = state.pictures;
    QString error;
    if (!background.show(made.shown, &error)) {
        removePictures(folder, made.names(), before);
        if (firstChange)
            QFile::remove(folder.filePath(kStateFile));
        return fail(QStringLiteral("navcal: the desktop did not take the picture: %1").arg(error));
    }
    const std::optional<QStringList> ours = background.shown(&error);
    state.ours = ours.value_or(QStringList());
    state.pictures = made.names();
    if (const QString why = writeState(folder, state); !why.isEmpty())
        return fail(QStringLiteral("navcal: cannot write %1: %2")
                        .arg(QDir::toNativeSeparators(folder.filePath(kStateFile)), why));
    removePictures(folder, picturesIn(folder), state.pictures);
    return 0;
}

int setWallpaper(const WallpaperServices& services, const QDir& folder) {
    std::vector<Monitor> monitors = services.monitors;
    if (monitors.empty())
        monitors.push_back({QString(), kNoDisplay});
    const QStringList before = picturesIn(folder);
    const Made made = makePictures(monitors, folder, services.picture);
    if (const QString line = writePictures(made, folder); !line.isEmpty())
        return fail(line);

    const QString desktop = platform::runningDesktop();
    const std::unique_ptr<platform::DesktopBackground> background =
        platform::desktopBackground(desktop);
    if (!background)
        return fail(QStringLiteral("navcal: cannot set the background of this desktop "
                                   "(XDG_CURRENT_DESKTOP=%1): set %2 as the background by hand")
                        .arg(desktop, QDir::toNativeSeparators(made.shown.front().file)));

    QString error;
    const std::optional<QStringList> shown = background->shown(&error);
    if (!shown) {
        removePictures(folder, made.names(), before);
        return fail(QStringLiteral("navcal: cannot read the desktop's background: %1").arg(error));
    }
    // Set before and not changed by hand since: what was there before it
    // stays the one to put back.
    std::optional<State> state = readState(folder);
    const bool firstChange = !state || state->desktop != desktop || state->ours != *shown;
    if (firstChange)
        state = State{desktop, *shown, {}, {}, state ? state->pictures : QStringList()};
    state->monitors = monitors;
    if (const int code = showPictures(*background, made, *state, folder, firstChange))
        return code;
    if (!platform::scheduleRefresh(services.program, kRefresh, &error))
        return fail(QStringLiteral("navcal: the desktop shows today's calendar, but it will not be "
                                   "kept current: %1")
                        .arg(error));
    return 0;
}

// Stops keeping the background current: the refresh, the pictures and the
// kept state go.
int stop(const QDir& folder) {
    QString error;
    if (!platform::unscheduleRefresh(&error))
        return fail(QStringLiteral("navcal: %1").arg(error));
    removePictures(folder, picturesIn(folder));
    QFile::remove(folder.filePath(kStateFile));
    return 0;
}

int refresh(const WallpaperServices& services, const QDir& folder) {
    const std::optional<State> state = readState(folder);
    if (!state)
        return 0;
    const std::unique_ptr<platform::DesktopBackground> background =
        platform::desktopBackground(state->desktop);
    if (!background)
        return fail(QStringLiteral("navcal: cannot set the background of this desktop (%1)")
                        .arg(state->desktop));
    QString error;
    const std::optional<QStringList> shown = background->shown(&error);
    if (!shown)
        return fail(QStringLiteral("navcal: cannot read the desktop's background: %1").arg(error));
    if (*shown != state->ours) {
        // The user's own choice stands, and is not asked about again.
        const int code = stop(folder);
        platform::writeErrorLine(
            QStringLiteral("navcal: the desktop's background was changed by hand; navcal no "
                           "longer puts its calendar there (navcal --wallpaper sets it again)"));
        return code;
    }
    State next = *state;
    if (!services.monitors.empty())
        next.monitors = services.monitors;
    if (next.monitors.empty())
        next.monitors.push_back({QString(), kNoDisplay});
    const Made made = makePictures(next.monitors, folder, services.picture);
    QStringList names = made.names();
    QStringList had = state->pictures;
    names.sort();
    had.sort();
    const bool allThere = std::all_of(names.begin(), names.end(), [&](const QString& name) {
        return QFile::exists(folder.filePath(name));
    });
    if (names == had && allThere && next.monitors.size() == state->monitors.size())
        return 0;
    if (const QString line = writePictures(made, folder); !line.isEmpty())
        return fail(line);
    return showPictures(*background, made, next, folder, false);
}

int off(const QDir& folder) {
    if (const std::optional<State> state = readState(folder)) {
        // A background changed by hand since stays: it is the user's.
        if (const auto background = platform::desktopBackground(state->desktop)) {
            QString error;
            const std::optional<QStringList> shown = background->shown(&error);
            if (!shown)
                return fail(
                    QStringLiteral("navcal: cannot read the desktop's background: %1").arg(error));
            if (*shown == state->ours && !background->restore(state->kept, &error))
                return fail(QStringLiteral("navcal: the desktop did not take its background "
                                           "back: %1")
                                .arg(error));
        }
    }
    return stop(folder);
}

} // namespace

int wallpaper(const app::WallpaperRequest& request, const WallpaperServices& services) {
    const QString path = services.picture.userFolder;
    if (path.isEmpty())
        return fail(QStringLiteral("navcal: no folder of the user's to keep the pictures in (HOME "
                                   "is not set)"));
    const QDir folder(path);
    switch (request.action) {
    case Action::Off:
        return off(folder);
    case Action::Refresh:
        return refresh(services, folder);
    case Action::Set:
        break;
    }
    if (!QDir().mkpath(path))
        return fail(QStringLiteral("navcal: cannot make the folder %1")
                        .arg(QDir::toNativeSeparators(path)));
    return setWallpaper(services, folder);
}

void refreshAside(const QString& userFolder, const QString& program) {
    if (!userFolder.isEmpty() && QFile::exists(QDir(userFolder).filePath(kStateFile)))
        QProcess::startDetached(program, kRefresh);
}

} // namespace navcal::yearout
