// GNOME and the desktops built on its settings (Budgie, Cinnamon, MATE): the
// background is a few keys of one schema, changed with gsettings.

#include "platform/DesktopBackground.h"
#include "platform/SettingsTool.h"

#include <QUrl>

namespace navcal::platform {

namespace {

struct Schema {
    QLatin1String desktop; // lower case, as XDG_CURRENT_DESKTOP names it
    QLatin1String schema;
    QLatin1String keys; // the picture's keys, blank-separated
    bool uri;           // the keys hold a file: URI, else a path
};

const Schema kSchemas[] = {
    {QLatin1String("gnome"), QLatin1String("org.gnome.desktop.background"),
     QLatin1String("picture-uri picture-uri-dark"), true},
    {QLatin1String("budgie"), QLatin1String("org.gnome.desktop.background"),
     QLatin1String("picture-uri picture-uri-dark"), true},
    {QLatin1String("unity"), QLatin1String("org.gnome.desktop.background"),
     QLatin1String("picture-uri picture-uri-dark"), true},
    {QLatin1String("x-cinnamon"), QLatin1String("org.cinnamon.desktop.background"),
     QLatin1String("picture-uri"), true},
    {QLatin1String("cinnamon"), QLatin1String("org.cinnamon.desktop.background"),
     QLatin1String("picture-uri"), true},
    {QLatin1String("mate"), QLatin1String("org.mate.background"), QLatin1String("picture-filename"),
     false},
};

const QString kTool = QStringLiteral("gsettings");

// `text` as a GVariant string, as gsettings reads its values.
QString variantString(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    quoted.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

class GSettingsBackground final : public DesktopBackground {
  public:
    explicit GSettingsBackground(const Schema& schema) : m_schema(schema) {}

    // Each key as "KEY VALUE", the value as gsettings prints it. A key an
    // older schema lacks (picture-uri-dark) is left out.
    std::optional<QStringList> shown(QString* error) const override {
        const ToolRun keys = runTool(kTool, {QStringLiteral("list-keys"), m_schema.schema});
        if (!keys.ok()) {
            *error = toolFailure(kTool, keys);
            return std::nullopt;
        }
        const QStringList present =
            QString::fromUtf8(keys.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QStringList values;
        for (const QString& key : QString(m_schema.keys).split(QLatin1Char(' '))) {
            if (!present.contains(key))
                continue;
            const ToolRun get = runTool(kTool, {QStringLiteral("get"), m_schema.schema, key});
            if (!get.ok()) {
                *error = toolFailure(kTool, get);
                return std::nullopt;
            }
            values << key + QLatin1Char(' ') + QString::fromUtf8(get.out).trimmed();
        }
        if (values.isEmpty()) {
            *error = QStringLiteral("%1: %2 has no picture key").arg(kTool, m_schema.schema);
            return std::nullopt;
        }
        return values;
    }

    bool show(const std::vector<MonitorPicture>& pictures, QString* error) const override {
        // One picture for every monitor: the primary's.
        const QString file = pictures.front().file;
        const QString value = variantString(
            m_schema.uri ? QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded) : file);
        const std::optional<QStringList> before = shown(error);
        if (!before)
            return false;
        QStringList wanted;
        for (const QString& line : *before)
            wanted << line.section(QLatin1Char(' '), 0, 0) + QLatin1Char(' ') + value;
        // A settings store that cannot be reached can take a value without a
        // word: the keys are read back.
        if (restore(wanted, error)) {
            if (shown(error) == wanted)
                return true;
            if (error->isEmpty())
                *error =
                    QStringLiteral("%1: %2 did not keep the picture").arg(kTool, m_schema.schema);
        }
        // Half set is not set: the keys go back as they were.
        QString ignored;
        restore(*before, &ignored);
        return false;
    }

    // A kept line damaged by hand is passed over when it names no picture key
    // or no value; a value gsettings cannot read gives the key its default, as
    // the picture it would point to is about to go.
    bool restore(const QStringList& kept, QString* error) const override {
        const QStringList keys = QString(m_schema.keys).split(QLatin1Char(' '));
        for (const QString& line : kept) {
            const QString key = line.section(QLatin1Char(' '), 0, 0);
            const QString value = line.section(QLatin1Char(' '), 1);
            if (!keys.contains(key) || value.isEmpty())
                continue;
            const ToolRun set =
                runTool(kTool, {QStringLiteral("set"), m_schema.schema, key, value});
            if (set.ok() || (set.finished &&
                             runTool(kTool, {QStringLiteral("reset"), m_schema.schema, key}).ok()))
                continue;
            *error = toolFailure(kTool, set);
            return false;
        }
        return true;
    }

  private:
    const Schema& m_schema;
};

} // namespace

std::unique_ptr<DesktopBackground> gsettingsBackground(const QString& desktop) {
    for (const Schema& schema : kSchemas)
        if (desktop == schema.desktop)
            return std::make_unique<GSettingsBackground>(schema);
    return nullptr;
}

} // namespace navcal::platform
