// Today's calendar made the desktop's background by the real program, each
// desktop's background read back with its own settings tool: gsettings with
// its file store (GNOME, MATE), xfconf-query with its daemon on a private
// bus (Xfce), and for Plasma a stand-in shell on that bus that keeps the
// picture its scripts write.

#include "support/Files.h"
#include "support/Run.h"
#include "support/SaverEnvironment.h"
#include "support/Xvfb.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using navcal::test::Run;

// The shell's scripting as far as the background goes: a script that prints
// gets each desktop's line, one that writes a picture sets it.
class StandInShell : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")
  public:
    QString image = "file:///usr/share/wallpapers/old.jpg";
    QStringList scripts;
    bool locked = false; // as a shell whose desktop is locked by the administrator

  public slots:
    QString evaluateScript(const QString& script) {
        scripts << script;
        if (script.contains("print("))
            return "1\torg.kde.image\t" + image + "\n";
        if (locked) {
            sendErrorReply(QDBusError::AccessDenied, "Desktop is locked");
            return {};
        }
        const QRegularExpressionMatch written =
            QRegularExpression("writeConfig\\(\"Image\", \"([^\"]*)\"\\)").match(script);
        if (written.hasMatch())
            image = written.captured(1);
        return {};
    }
};

namespace {

const char* kXfceImage = "/backdrop/screen0/monitorscreen/workspace0/last-image";
const QString kOldPicture = "/usr/share/old.jpg";

} // namespace

class WallpaperTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;
    QProcessEnvironment m_env;
    std::unique_ptr<navcal::test::Xvfb> m_x;
    QProcess m_bus;
    StandInShell m_shell;

    // A program run to its end while the stand-in shell answers.
    Run run(const QString& program, const QStringList& arguments) {
        return navcal::test::run(program, arguments, m_env, m_home.path());
    }
    Run navcal(const QStringList& arguments) { return run(NAVCAL_BINARY, arguments); }

    // The background as the desktop's own tool reads it.
    QString shown(const QString& desktop) {
        if (desktop == "GNOME")
            return run("gsettings", {"get", "org.gnome.desktop.background", "picture-uri"}).out;
        if (desktop == "MATE")
            return run("gsettings", {"get", "org.mate.background", "picture-filename"}).out;
        if (desktop == "XFCE")
            return run("xfconf-query", {"-c", "xfce4-desktop", "-p", kXfceImage}).out;
        return m_shell.image;
    }

    QString data(const QString& name = {}) { return m_home.filePath("data/navcal/" + name); }
    QString autostart() { return m_home.filePath("config/autostart/navcal-wallpaper.desktop"); }

  private slots:
    void initTestCase() {
        m_x = std::make_unique<navcal::test::Xvfb>(QStringList{"-screen", "0", "800x600x24"});
        QVERIFY(!m_x->display.isEmpty());
        m_bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY(m_bus.waitForReadyRead(10000));
        const QString address = QString::fromUtf8(m_bus.readLine()).trimmed();
        QDBusConnection shell = QDBusConnection::connectToBus(address, "shell");
        QVERIFY(shell.registerService("org.kde.plasmashell"));
        QVERIFY(shell.registerObject("/PlasmaShell", &m_shell, QDBusConnection::ExportAllSlots));

        m_env = navcal::test::saverEnvironment(m_home, "xcb");
        m_env.insert("DISPLAY", m_x->display);
        m_env.insert("DBUS_SESSION_BUS_ADDRESS", address);
        m_env.insert("XDG_CONFIG_HOME", m_home.filePath("config"));
        m_env.insert("GSETTINGS_BACKEND", "keyfile");
        // Font settings written for a newer font library, which says so on
        // stderr: the user's lines are still the only ones.
        m_env.insert("FONTCONFIG_FILE", m_home.filePath("fonts.conf"));
        QVERIFY(navcal::test::writeFile(m_home.filePath("fonts.conf"),
                                        "<fontconfig><include>/etc/fonts/fonts.conf</include>"
                                        "<newer-element/></fontconfig>"));
        QVERIFY(QDir().mkpath(data()));
        QVERIFY(navcal::test::writeFile(data("holidays.txt"), "31.02 | blue | Нет такого дня\n"));
        // Each desktop's background as its user left it.
        for (const QStringList& set :
             {QStringList{"gsettings", "set", "org.gnome.desktop.background", "picture-uri",
                          "file://" + kOldPicture},
              {"gsettings", "set", "org.mate.background", "picture-filename", kOldPicture},
              {"xfconf-query", "-c", "xfce4-desktop", "-p", kXfceImage, "-n", "-t", "string", "-s",
               kOldPicture}})
            QCOMPARE(run(set.first(), set.mid(1)).code, 0);
    }

    void cleanupTestCase() {
        m_bus.terminate();
        m_bus.waitForFinished(3000);
    }

    void onAndOff_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QByteArray>("damage"); // lines that lead the kept ones
        QTest::newRow("GNOME, three kept lines damaged")
            << "GNOME"
            << "'file://" + kOldPicture + "'\n"
            << QByteArray("\"7\", \"picture-uri\", \"picture-uri 'file:///cut\", ");
        QTest::newRow("Ubuntu's GNOME") << "ubuntu:GNOME"
                                        << "'file://" + kOldPicture + "'\n"
                                        << QByteArray();
        QTest::newRow("MATE, two kept lines damaged")
            << "MATE"
            << "'" + kOldPicture + "'\n"
            << QByteArray("\"x y\", \"picture-filename 'a\", ");
        QTest::newRow("Xfce") << "XFCE" << kOldPicture + "\n" << QByteArray();
        QTest::newRow("Plasma, two kept lines damaged")
            << "KDE" << m_shell.image << QByteArray("\"7\", \"x y\", ");
    }

    void onAndOff() {
        QFETCH(QString, desktop);
        QFETCH(QString, before);
        QFETCH(QByteArray, damage);
        m_env.insert("XDG_CURRENT_DESKTOP", desktop);
        const QString tool = desktop.section(':', -1);
        QCOMPARE(shown(tool), before);

        const Run on = navcal({"--wallpaper"});
        QCOMPARE(on.code, 0);
        // The user's bad row is reported as the saver reports it.
        QCOMPARE(on.err, data("holidays.txt") + ":1: no day 31.02\n");
        const QRegularExpressionMatch picture =
            QRegularExpression("(/[^'\"\\s]*/desktop-[^'\"\\s]*\\.png)").match(shown(tool));
        QVERIFY2(picture.hasMatch(), qPrintable(shown(tool)));
        QCOMPARE(QFileInfo(picture.captured(1)).absolutePath(), QDir(data()).absolutePath());
        QCOMPARE(QImage(picture.captured(1)).size(), QSize(800, 600));
        // Kept current from the next login on, as the menu's desktop files
        // are checked.
        QFile entry(autostart());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains(
            QString("\nExec=\"%1\" \"--wallpaper\" \"refresh\"\n").arg(NAVCAL_BINARY).toUtf8()));
        const Run valid = run("desktop-file-validate", {autostart()});
        QVERIFY2(valid.code == 0 && valid.out.isEmpty(), qPrintable(valid.out));
        // Nothing to change: the same picture stays.
        QCOMPARE(navcal({"--wallpaper", "refresh"}).code, 0);
        QVERIFY(QFile::exists(picture.captured(1)));
        // Kept lines damaged by hand are passed over; the good ones are put back.
        QFile state(data("desktop.json"));
        QVERIFY(state.open(QIODevice::ReadWrite));
        const QByteArray kept = state.readAll().replace("\"kept\": [", "\"kept\": [" + damage);
        QVERIFY(state.resize(0) && state.write(kept) == kept.size());
        state.close();
        m_shell.scripts.clear();

        for (int time = 0; time < 2; ++time) {
            const Run off = navcal({"--wallpaper", "off"});
            QCOMPARE(off.code, 0);
            QCOMPARE(off.err, QString());
            QCOMPARE(shown(tool), before);
            QVERIFY(!QFile::exists(autostart()));
            QCOMPARE(QDir(data()).entryList(QDir::Files), QStringList{"holidays.txt"});
        }
        QVERIFY2(!m_shell.scripts.join('\n').contains(QRegularExpression("ById\\([^1]")),
                 qPrintable(m_shell.scripts.join('\n')));
    }

    // The user chose another picture since: a refresh leaves it and stops.
    void changedByHand() {
        m_env.insert("XDG_CURRENT_DESKTOP", "MATE");
        QCOMPARE(navcal({"--wallpaper"}).code, 0);
        const QString first = shown("MATE");
        // Days of the user's own added since: the saver's next run shows
        // them on the desktop too, and the old picture goes.
        QVERIFY(navcal::test::writeFile(data("holidays.txt"), "31.02 | blue | Нет такого дня\n"
                                                              "17.03 | blue | Сбор\n"
                                                              "18.03 | blue | Сбор\n"));
        QProcess saver;
        saver.setProcessEnvironment(m_env);
        saver.start(NAVCAL_BINARY, {"/s"});
        const auto pictures = [this] { return QDir(data()).entryList({"desktop-*"}, QDir::Files); };
        for (int waited = 0; (shown("MATE") == first || pictures().size() != 1) && waited < 60000;
             waited += 200)
            QTest::qWait(200);
        saver.terminate();
        QVERIFY(saver.waitForFinished(10000));
        QVERIFY(shown("MATE") != first);
        QCOMPARE(pictures().size(), 1);
        QCOMPARE(
            run("gsettings", {"set", "org.mate.background", "picture-filename", "/mine.jpg"}).code,
            0);
        Run refresh = navcal({"--wallpaper", "refresh"});
        QCOMPARE(refresh.code, 0);
        QVERIFY2(
            refresh.err.endsWith("navcal: the desktop's background was changed by hand; navcal "
                                 "no longer puts its calendar there (navcal --wallpaper sets "
                                 "it again)\n"),
            qPrintable(refresh.err));
        QCOMPARE(shown("MATE"), "'/mine.jpg'\n");
        QVERIFY(!QFile::exists(autostart()));
        QCOMPARE(QDir(data()).entryList(QDir::Files), QStringList{"holidays.txt"});
        refresh = navcal({"--wallpaper", "refresh"});
        QCOMPARE(refresh.code, 0);
        QCOMPARE(refresh.err, QString());
        QCOMPARE(navcal({"--wallpaper", "off"}).code, 0);
        QCOMPARE(shown("MATE"), "'/mine.jpg'\n");
        QVERIFY(run("gsettings", {"set", "org.mate.background", "picture-filename", kOldPicture})
                    .code == 0);
    }

    void systemdTimer_data() {
        QTest::addColumn<QByteArray>("state");
        QTest::newRow("running") << QByteArray("running");
        QTest::newRow("a unit of the user's failed") << QByteArray("degraded");
    }

    // With a systemd user manager (a stand-in that answers and notes what it
    // is asked), a timer and a login service that systemd's own check takes.
    void systemdTimer() {
        QFETCH(QByteArray, state);
        const QString bin = m_home.filePath("bin");
        QVERIFY(QDir().mkpath(bin));
        QFile::remove(m_home.filePath("systemctl.log"));
        QVERIFY(navcal::test::writeFile(bin + "/systemctl",
                                        "#!/bin/sh\necho \"$*\" >> \"$HOME/systemctl.log\"\n"
                                        "[ \"$2\" = is-system-running ] && echo " +
                                            state + "\nexit 0\n"));
        QVERIFY(QFile::setPermissions(bin + "/systemctl", QFile::ReadOwner | QFile::ExeOwner));
        const QProcessEnvironment plain = m_env;
        m_env.insert("PATH", bin + ":" + m_env.value("PATH"));
        m_env.insert("XDG_CURRENT_DESKTOP", "GNOME");
        QCOMPARE(navcal({"--wallpaper"}).code, 0);
        const QString units = m_home.filePath("config/systemd/user/");
        QVERIFY(!QFile::exists(autostart()));
        const Run verify = run("systemd-analyze", {"verify", units + "navcal-wallpaper.service",
                                                   units + "navcal-wallpaper.timer"});
        QVERIFY2(verify.code == 0, qPrintable(verify.err));
        QFile timer(units + "navcal-wallpaper.timer");
        QVERIFY(timer.open(QIODevice::ReadOnly));
        QVERIFY(timer.readAll().contains("\nOnCalendar=*-*-* 00:00:30\n"));
        QCOMPARE(navcal({"--wallpaper", "off"}).code, 0);
        m_env = plain;
        QVERIFY(!QFile::exists(units + "navcal-wallpaper.timer"));
        QFile log(m_home.filePath("systemctl.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString said = QString::fromUtf8(log.readAll());
        QVERIFY2(said.contains("--user enable navcal-wallpaper.service\n") &&
                     said.contains("--user enable --now navcal-wallpaper.timer\n") &&
                     said.contains("--user disable --now navcal-wallpaper.timer "
                                   "navcal-wallpaper.service\n"),
                 qPrintable(said));
    }

    // A refresh that cannot be registered is said; off still puts all back.
    void notKeptCurrent() {
        m_env.insert("XDG_CURRENT_DESKTOP", "MATE");
        QVERIFY(QDir().mkpath(autostart()));
        const Run run = navcal({"--wallpaper"});
        QVERIFY(QDir(autostart()).removeRecursively());
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.endsWith("navcal: the desktop shows today's calendar, but it will not be "
                                  "kept current: cannot write " +
                                  autostart() + ": Is a directory\n"),
                 qPrintable(run.err));
        QCOMPARE(navcal({"--wallpaper", "off"}).code, 0);
        QCOMPARE(shown("MATE"), "'" + kOldPicture + "'\n");
    }

    void refused_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("line");
        QTest::newRow("a word it does not take")
            << QStringList{"--wallpaper", "on"}
            << "navcal: --wallpaper takes off or nothing, not \"on\"\n";
        QTest::newRow("one word too many")
            << QStringList{"--wallpaper", "off", "now"}
            << "navcal: --wallpaper takes at most one word; \"now\" is one argument too many\n";
    }

    void refused() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, line);
        m_env.insert("XDG_CURRENT_DESKTOP", "GNOME");
        const Run run = navcal(arguments);
        QCOMPARE(run.code, 2);
        QCOMPARE(run.err, line);
        QCOMPARE(shown("GNOME"), "'file://" + kOldPicture + "'\n");
    }

    // What cannot be set is not: the line says what to do, the background
    // and the autostart folder stay as they were.
    void notSet_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("line");
        QTest::newRow("a desktop of its own")
            << "Sway"
            << "navcal: cannot set the background of this desktop "
               "(XDG_CURRENT_DESKTOP=Sway): set %1 as the background by hand\n";
        QTest::newRow("settings that are not there")
            << "X-Cinnamon"
            << "navcal: cannot read the desktop's background: gsettings: No such schema "
               "“org.cinnamon.desktop.background”\n";
        QTest::newRow("a shell that refuses the picture")
            << "KDE"
            << "navcal: the desktop did not take the picture: dbus-send: Error "
               "org.freedesktop.DBus.Error.AccessDenied: Desktop is locked\n";
    }

    void notSet() {
        QFETCH(QString, desktop);
        QFETCH(QString, line);
        m_env.insert("XDG_CURRENT_DESKTOP", desktop);
        const QString plasma = m_shell.image;
        m_shell.locked = true;
        const Run run = navcal({"--wallpaper"});
        m_shell.locked = false;
        QCOMPARE(run.code, 1);
        const QStringList left = QDir(data()).entryList({"desktop-*"}, QDir::Files);
        QCOMPARE(run.err, data("holidays.txt") + ":1: no day 31.02\n" +
                              (line.contains("%1") ? line.arg(data(left.value(0))) : line));
        // Only the picture the line names stays in the user's folder.
        QCOMPARE(left.size(), line.contains("%1") ? 1 : 0);
        QCOMPARE(QDir(data()).entryList(QDir::Files), left + QStringList{"holidays.txt"});
        QCOMPARE(shown("GNOME"), "'file://" + kOldPicture + "'\n");
        QCOMPARE(shown("KDE"), plasma);
        QVERIFY(!QFile::exists(autostart()));
        QCOMPARE(navcal({"--wallpaper", "off"}).code, 0);
    }
};

QTEST_MAIN(WallpaperTest)
#include "tst_wallpaper.moc"
