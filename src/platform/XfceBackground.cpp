// Xfce: each monitor and workspace has its own picture, a property of the
// desktop's settings channel, changed with xfconf-query.

#include "platform/DesktopBackground.h"
#include "platform/SettingsTool.h"

#include <algorithm>

namespace navcal::platform {

namespace {

const QString kTool = QStringLiteral("xfconf-query");
const QString kChannel = QStringLiteral("xfce4-desktop");
const QString kImage = QStringLiteral("/last-image");

ToolRun query(QStringList arguments) {
    return runTool(kTool, QStringList{QStringLiteral("-c"), kChannel} + arguments);
}

// "/backdrop/screen0/monitorHDMI-1/workspace0/last-image" is HDMI-1's.
QString monitorOf(const QString& property) {
    const QString part = property.section(QLatin1Char('/'), 3, 3);
    return part.startsWith(QLatin1String("monitor")) ? part.mid(7) : QString();
}

class XfceBackground final : public DesktopBackground {
  public:
    // Each picture property as "PROPERTY VALUE".
    std::optional<QStringList> shown(QString* error) const override {
        const ToolRun list = query({QStringLiteral("-l")});
        // A channel nothing has written yet has no properties: to some
        // versions of the tool an error, to us nothing shown.
        if (!list.ok() && !(list.finished && list.err.contains(QLatin1String("no properties")))) {
            *error = toolFailure(kTool, list);
            return std::nullopt;
        }
        QStringList values;
        for (const QString& property :
             QString::fromUtf8(list.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (!property.endsWith(kImage))
                continue;
            const ToolRun get = query({QStringLiteral("-p"), property});
            if (!get.ok()) {
                *error = toolFailure(kTool, get);
                return std::nullopt;
            }
            values << property + QLatin1Char(' ') + QString::fromUtf8(get.out).trimmed();
        }
        values.sort();
        return values;
    }

    bool show(const std::vector<MonitorPicture>& pictures, QString* error) const override {
        const std::optional<QStringList> before = shown(error);
        if (!before)
            return false;
        QStringList properties;
        for (const QString& line : *before)
            properties << line.section(QLatin1Char(' '), 0, 0);
        // A desktop that has drawn no picture yet names none: each monitor's
        // first workspace gets one.
        if (properties.isEmpty())
            for (const MonitorPicture& picture : pictures)
                properties << QStringLiteral("/backdrop/screen0/monitor%1/workspace0%2")
                                  .arg(picture.monitor, kImage);
        for (const QString& property : properties) {
            QString file = pictures.front().file;
            for (const MonitorPicture& picture : pictures)
                if (picture.monitor == monitorOf(property))
                    file = picture.file;
            const ToolRun set =
                query({QStringLiteral("-p"), property, QStringLiteral("-n"), QStringLiteral("-t"),
                       QStringLiteral("string"), QStringLiteral("-s"), file});
            if (!set.ok()) {
                *error = toolFailure(kTool, set);
                QString ignored;
                restore(*before, &ignored);
                return false;
            }
        }
        return true;
    }

    // The kept properties get their values back; one made since goes.
    bool restore(const QStringList& kept, QString* error) const override {
        const std::optional<QStringList> now = shown(error);
        if (!now)
            return false;
        for (const QString& line : *now) {
            const QString property = line.section(QLatin1Char(' '), 0, 0);
            const auto old = std::find_if(kept.begin(), kept.end(), [&](const QString& k) {
                return k.section(QLatin1Char(' '), 0, 0) == property;
            });
            const ToolRun run = old == kept.end()
                                    ? query({QStringLiteral("-p"), property, QStringLiteral("-r")})
                                    : query({QStringLiteral("-p"), property, QStringLiteral("-s"),
                                             old->section(QLatin1Char(' '), 1)});
            if (!run.ok()) {
                *error = toolFailure(kTool, run);
                return false;
            }
        }
        return true;
    }
};

} // namespace

std::unique_ptr<DesktopBackground> xfceBackground() {
    return std::make_unique<XfceBackground>();
}

} // namespace navcal::platform
