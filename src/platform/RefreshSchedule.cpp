#include "platform/RefreshSchedule.h"

#include "platform/CheckedWrite.h"
#include "platform/SettingsTool.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace navcal::platform {

namespace {

#ifdef Q_OS_WIN

const QString kTask = QStringLiteral("navcal wallpaper");
const QString kSchtasks = QStringLiteral("schtasks.exe");

QString xmlText(QString text) {
    return text.replace(QLatin1Char('&'), QLatin1String("&amp;"))
        .replace(QLatin1Char('<'), QLatin1String("&lt;"))
        .replace(QLatin1Char('>'), QLatin1String("&gt;"))
        .replace(QLatin1Char('"'), QLatin1String("&quot;"));
}

// One argument as the C runtime splits a command line (no backslashes end
// the arguments passed here).
QString windowsArgument(const QString& argument) {
    if (!argument.isEmpty() && !argument.contains(QLatin1Char(' ')) &&
        !argument.contains(QLatin1Char('"')))
        return argument;
    return QLatin1Char('"') + QString(argument).replace(QLatin1Char('"'), QLatin1String("\\\"")) +
           QLatin1Char('"');
}

#else

const QString kUnit = QStringLiteral("navcal-wallpaper");
const QString kSystemctl = QStringLiteral("systemctl");

QString configHome() {
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!config.isEmpty() && !QDir::isRelativePath(config))
        return config;
    const QString home = qEnvironmentVariable("HOME");
    return home.isEmpty() || QDir::isRelativePath(home) ? QString()
                                                        : home + QLatin1String("/.config");
}

QString unitFolder() {
    return configHome() + QLatin1String("/systemd/user");
}
QString autostartEntry() {
    return configHome() + QLatin1String("/autostart/navcal-wallpaper.desktop");
}

ToolRun userManager(const QStringList& arguments) {
    return runTool(kSystemctl, QStringList{QStringLiteral("--user")} + arguments);
}

// A manager that answers at all: one starting up or with a failed unit runs
// timers too.
bool hasUserManager() {
    const QString state =
        QString::fromUtf8(userManager({QStringLiteral("is-system-running")}).out).trimmed();
    return state == QLatin1String("running") || state == QLatin1String("degraded") ||
           state == QLatin1String("starting") || state == QLatin1String("initializing");
}

// A command line for systemd's ExecStart and for a desktop entry's Exec: each
// argument in double quotes, '\', '"', '$' and '`' escaped, '%' doubled.
QString commandLine(const QString& program, const QStringList& arguments, bool desktopEntry) {
    QStringList quoted;
    for (QString argument : QStringList{program} + arguments) {
        for (const char c : {'\\', '"', '`', '$'})
            argument.replace(QLatin1Char(c), QLatin1String("\\") + QLatin1Char(c));
        argument.replace(QLatin1Char('%'), QLatin1String("%%"));
        quoted << QLatin1Char('"') + argument + QLatin1Char('"');
    }
    QString line = quoted.join(QLatin1Char(' '));
    // A desktop entry's value is itself unescaped once before it is split.
    if (desktopEntry)
        line.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return line;
}

bool writeFile(const QString& file, const QString& text, QString* error) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    const QString why = writeWhole(file, text.toUtf8());
    if (!why.isEmpty())
        *error = QStringLiteral("cannot write %1: %2").arg(file, why);
    return why.isEmpty();
}

bool scheduleWithSystemd(const QString& command, QString* error) {
    const QString service =
        QStringLiteral("[Unit]\n"
                       "Description=Today's naval calendar as the desktop background\n"
                       "\n"
                       "[Service]\n"
                       "Type=oneshot\n"
                       "ExecStart=%1\n"
                       "\n"
                       "[Install]\n"
                       "WantedBy=default.target\n")
            .arg(command);
    const QString timer = QStringLiteral("[Unit]\n"
                                         "Description=Today's naval calendar, each new day\n"
                                         "\n"
                                         "[Timer]\n"
                                         "OnCalendar=*-*-* 00:00:30\n"
                                         "Persistent=true\n"
                                         "\n"
                                         "[Install]\n"
                                         "WantedBy=timers.target\n");
    const QString folder = unitFolder();
    if (!writeFile(folder + QLatin1Char('/') + kUnit + QLatin1String(".service"), service, error) ||
        !writeFile(folder + QLatin1Char('/') + kUnit + QLatin1String(".timer"), timer, error))
        return false;
    for (const QStringList& step :
         {QStringList{QStringLiteral("daemon-reload")},
          QStringList{QStringLiteral("enable"), kUnit + QLatin1String(".service")},
          QStringList{QStringLiteral("enable"), QStringLiteral("--now"),
                      kUnit + QLatin1String(".timer")}}) {
        const ToolRun run = userManager(step);
        if (!run.ok()) {
            *error = toolFailure(kSystemctl, run);
            return false;
        }
    }
    return true;
}

#endif

} // namespace

#ifdef Q_OS_WIN

bool scheduleRefresh(const QString& program, const QStringList& arguments, QString* error) {
    QStringList rest;
    for (const QString& argument : arguments)
        rest << windowsArgument(argument);
    const QString user =
        qEnvironmentVariable("USERDOMAIN") + QLatin1Char('\\') + qEnvironmentVariable("USERNAME");
    // A logon trigger of the user's own and a daily one: what an ordinary
    // account may register. A day missed while the machine slept runs when
    // it wakes.
    const QString xml =
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
            "<Task version=\"1.2\" "
            "xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
            "  <Triggers>\r\n"
            "    <CalendarTrigger><StartBoundary>%1T00:00:30</StartBoundary><Enabled>true</Enabled>"
            "<ScheduleByDay><DaysInterval>1</DaysInterval></ScheduleByDay></CalendarTrigger>\r\n"
            "    <LogonTrigger><Enabled>true</Enabled><UserId>%2</UserId></LogonTrigger>\r\n"
            "  </Triggers>\r\n"
            "  <Principals><Principal id=\"Author\"><UserId>%2</UserId>"
            "<LogonType>InteractiveToken</LogonType><RunLevel>LeastPrivilege</RunLevel>"
            "</Principal></Principals>\r\n"
            "  <Settings><StartWhenAvailable>true</StartWhenAvailable>"
            "<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>"
            "<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>"
            "<ExecutionTimeLimit>PT5M</ExecutionTimeLimit><Enabled>true</Enabled></Settings>\r\n"
            "  <Actions Context=\"Author\"><Exec><Command>%3</Command><Arguments>%4</Arguments>"
            "</Exec></Actions>\r\n"
            "</Task>\r\n")
            .arg(QDate::currentDate().toString(Qt::ISODate), xmlText(user),
                 xmlText(QDir::toNativeSeparators(program)), xmlText(rest.join(QLatin1Char(' '))));
    QTemporaryDir scratch;
    const QString file = scratch.filePath(QStringLiteral("task.xml"));
    // The task scheduler reads UTF-16 with its byte-order mark.
    QByteArray bytes("\xff\xfe", 2);
    bytes += QByteArray(reinterpret_cast<const char*>(xml.utf16()), xml.size() * 2);
    const QString why = scratch.isValid() ? writeWhole(file, bytes) : scratch.errorString();
    if (!why.isEmpty()) {
        *error = QStringLiteral("cannot write the task's description: %1").arg(why);
        return false;
    }
    const ToolRun run = runTool(kSchtasks, {QStringLiteral("/Create"), QStringLiteral("/TN"), kTask,
                                            QStringLiteral("/XML"), QDir::toNativeSeparators(file),
                                            QStringLiteral("/F")});
    if (!run.ok())
        *error = toolFailure(kSchtasks, run);
    return run.ok();
}

bool unscheduleRefresh(QString*) {
    // A task that is not there fails as any other would: the answer is not
    // telling, and nothing else is left to do.
    runTool(kSchtasks,
            {QStringLiteral("/Delete"), QStringLiteral("/TN"), kTask, QStringLiteral("/F")});
    return true;
}

#else

bool scheduleRefresh(const QString& program, const QStringList& arguments, QString* error) {
    if (configHome().isEmpty()) {
        *error = QStringLiteral("no configuration folder (HOME is not set)");
        return false;
    }
    QString ignored;
    unscheduleRefresh(&ignored);
    if (hasUserManager()) {
        if (scheduleWithSystemd(commandLine(program, arguments, false), error))
            return true;
        unscheduleRefresh(&ignored);
    }
    // Without a user manager only the login starts it; the saver's own runs
    // keep the picture current in between.
    return writeFile(autostartEntry(),
                     QStringLiteral("[Desktop Entry]\n"
                                    "Type=Application\n"
                                    "Name=Naval Calendar on the desktop\n"
                                    "Name[ru]=Военно-морской календарь на рабочем столе\n"
                                    "Exec=%1\n"
                                    "Icon=navcal\n"
                                    "NoDisplay=true\n"
                                    "Terminal=false\n"
                                    "X-GNOME-Autostart-enabled=true\n")
                         .arg(commandLine(program, arguments, true)),
                     error);
}

bool unscheduleRefresh(QString* error) {
    if (configHome().isEmpty())
        return true;
    const QString folder = unitFolder() + QLatin1Char('/');
    const QStringList units{kUnit + QLatin1String(".timer"), kUnit + QLatin1String(".service")};
    const bool hadUnits =
        QFile::exists(folder + units.at(0)) || QFile::exists(folder + units.at(1));
    const bool manager = hadUnits && hasUserManager();
    if (manager)
        userManager(QStringList{QStringLiteral("disable"), QStringLiteral("--now")} + units);
    // Without a manager to ask, its links are removed as it would remove them.
    for (const QString& file :
         {folder + units.at(0), folder + units.at(1),
          folder + QLatin1String("timers.target.wants/") + units.at(0),
          folder + QLatin1String("default.target.wants/") + units.at(1), autostartEntry()}) {
        if (QFileInfo(file).isSymLink() || QFile::exists(file)) {
            if (!QFile::remove(file)) {
                *error = QStringLiteral("cannot remove %1").arg(file);
                return false;
            }
        }
    }
    if (manager)
        userManager({QStringLiteral("daemon-reload")});
    return true;
}

#endif

} // namespace navcal::platform
