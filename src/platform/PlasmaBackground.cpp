// KDE Plasma: each desktop containment has a wallpaper plugin and its
// picture, read and changed by a script the shell runs, sent over D-Bus.

#include "platform/DesktopBackground.h"
#include "platform/SettingsTool.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

namespace navcal::platform {

namespace {

const QString kTool = QStringLiteral("dbus-send");
const QLatin1String kImagePlugin("org.kde.image");

// `text` as a script's string literal.
QString literal(const QString& text) {
    const QString array =
        QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact));
    return array.mid(1, array.size() - 2);
}

// Runs `script` in the shell; what it printed, or nothing and `error`.
std::optional<QString> evaluate(const QString& script, QString* error) {
    const ToolRun run = runTool(
        kTool,
        {QStringLiteral("--session"), QStringLiteral("--print-reply"),
         QStringLiteral("--dest=org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
         QStringLiteral("org.kde.PlasmaShell.evaluateScript"), QStringLiteral("string:") + script});
    if (!run.ok()) {
        *error = toolFailure(kTool, run);
        return std::nullopt;
    }
    // The reply's one string, printed raw between quotes.
    const QString out = QString::fromUtf8(run.out);
    const qsizetype start = out.indexOf(QLatin1String("string \""));
    const qsizetype end = out.lastIndexOf(QLatin1Char('"'));
    if (start < 0 || end < start + 8) {
        *error = QStringLiteral("%1: the shell gave no answer").arg(kTool);
        return std::nullopt;
    }
    return out.mid(start + 8, end - start - 8);
}

// Sets one desktop's plugin and, for the picture plugin, its picture.
QString setDesktop(const QString& desktop, const QString& plugin, const QString& image) {
    QString script = QStringLiteral("d.wallpaperPlugin = %1;").arg(literal(plugin));
    if (plugin == kImagePlugin)
        script += QStringLiteral(" d.currentConfigGroup = [\"Wallpaper\", %1, \"General\"];"
                                 " d.writeConfig(\"Image\", %2); d.reloadConfig();")
                      .arg(literal(plugin), literal(image));
    return QStringLiteral("var d = %1; if (d) { %2 }\n").arg(desktop, script);
}

class PlasmaBackground final : public DesktopBackground {
  public:
    // Each desktop as "ID PLUGIN PICTURE".
    std::optional<QStringList> shown(QString* error) const override {
        const std::optional<QString> printed =
            evaluate(QStringLiteral("var all = desktops();\n"
                                    "for (var i = 0; i < all.length; ++i) {\n"
                                    "  var d = all[i];\n"
                                    "  d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", "
                                    "\"General\"];\n"
                                    "  print(d.id + \"\\t\" + d.wallpaperPlugin + \"\\t\" + "
                                    "d.readConfig(\"Image\") + \"\\n\");\n"
                                    "}\n"),
                     error);
        if (!printed)
            return std::nullopt;
        QStringList desktops;
        for (const QString& line : printed->split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            desktops << line.split(QLatin1Char('\t')).join(QLatin1Char(' '));
        desktops.sort();
        return desktops;
    }

    // Every desktop shows the primary monitor's picture.
    bool show(const std::vector<MonitorPicture>& pictures, QString* error) const override {
        const QString uri = QUrl::fromLocalFile(pictures.front().file).toString(QUrl::FullyEncoded);
        return evaluate(QStringLiteral("var all = desktops();\n"
                                       "for (var i = 0; i < all.length; ++i) {\n") +
                            setDesktop(QStringLiteral("all[i]"), kImagePlugin, uri) +
                            QStringLiteral("}\n"),
                        error)
            .has_value();
    }

    bool restore(const QStringList& kept, QString* error) const override {
        QString script;
        for (const QString& line : kept) {
            const QStringList parts = line.split(QLatin1Char(' '));
            bool number = false;
            const int id = parts.value(0).toInt(&number);
            if (number && parts.size() >= 2)
                script += setDesktop(QStringLiteral("desktopById(%1)").arg(id), parts.at(1),
                                     parts.mid(2).join(QLatin1Char(' ')));
        }
        return script.isEmpty() || evaluate(script, error).has_value();
    }
};

} // namespace

std::unique_ptr<DesktopBackground> plasmaBackground() {
    return std::make_unique<PlasmaBackground>();
}

} // namespace navcal::platform
