// The year written out by the real program, with no display, and read back
// by other programs: an iCalendar parser and Poppler's PDF tools; today's
// picture set against the saver's own screen.

#include "support/Files.h"
#include "support/RootShot.h"
#include "support/Run.h"
#include "support/SaverEnvironment.h"
#include "support/Xvfb.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using navcal::test::Run;
using navcal::test::run;

// Each event's days in 2026 and 2027 as Debian's iCalendar parser and
// dateutil's rules expand them, one "YYYY-MM-DD name" line each, after the
// calendar's name and how each line ends.
const char* kExpand = R"(
import sys, datetime, icalendar, dateutil.rrule
lines = (raw := open(sys.argv[1], 'rb').read()).split(b'\r\n')
print('folded ok' if lines[-1] == b'' and all(len(l) <= 75 and b'\n' not in l for l in lines) else 'bad')
cal = icalendar.Calendar.from_ical(raw)
print(cal['X-WR-CALNAME'], '|', cal['NAME'])
for ev in cal.walk('VEVENT'):
    start = datetime.datetime.combine(ev.decoded('DTSTART'), datetime.time())
    rule = dateutil.rrule.rrulestr(ev['RRULE'].to_ical().decode(), dtstart=start)
    [print(day.date(), ev['SUMMARY'], ev['TRANSP'], ev['UID'])
     for day in rule.between(datetime.datetime(2026, 1, 1), datetime.datetime(2027, 12, 31), inc=True)]
)";

// A user's file: a Sunday rule, a long name with the characters iCalendar
// escapes, and a row that cannot be read.
const QByteArray kUserHolidays =
    "third Sunday of September | blue | День нашего экипажа\n"
    "14.08 | red | Сбор экипажа «Стремительный», БЧ-2;БЧ-3 \\ все, кто ходил с нами\n"
    "32.13 | blue | Нет такого дня\n"
    "03.10 | blue | Встреча выпускников, 1990; кубрик №3\n"
    "04.10 | blue | Переподготовка_в_учебном_отряде_подводного_плавания_имени_Кирова\n";

} // namespace

class ExportTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;
    QProcessEnvironment m_env;
    QProcessEnvironment m_quiet; // no holidays.txt to report on, no runtime folder

    // The program with no display to reach: a toolkit that tried one would fail.
    Run navcal(const QStringList& arguments) {
        return run(NAVCAL_BINARY, arguments, m_env, m_home.path());
    }

    // The system's fonts with a font cache of this test's own, named `name`:
    // a run under a frozen clock rewrites the cache it uses, and a run under
    // a file-size limit that then has to rewrite it says so on stderr. The
    // settings hold an element the font library does not know, as settings
    // written for a newer one do: it says so on stderr too.
    QString fontCache(const QString& name) {
        const QString conf = m_home.filePath(name + ".conf");
        navcal::test::writeFile(conf, "<fontconfig><cachedir>" + m_home.filePath(name).toUtf8() +
                                          "</cachedir><include>/etc/fonts/fonts.conf</include>"
                                          "<newer-element/></fontconfig>");
        return conf;
    }

  private slots:
    void initTestCase() {
        m_env = navcal::test::saverEnvironment(m_home, "xcb");
        m_env.insert("FONTCONFIG_FILE", fontCache("fonts"));
        // A font cache of its own: what fontconfig makes of the machine's
        // caches is no concern of a line count.
        m_env.insert("XDG_CACHE_HOME", m_home.filePath("cache"));
        m_quiet = m_env;
        m_quiet.insert("XDG_DATA_HOME", m_home.filePath("none"));
        m_quiet.remove("XDG_RUNTIME_DIR");
        QVERIFY(QDir().mkpath(m_home.filePath("data/navcal")));
        QVERIFY(
            navcal::test::writeFile(m_home.filePath("data/navcal/holidays.txt"), kUserHolidays));
    }

    void calendarFile() {
        const Run first = navcal({"--ics", "year.ics"});
        QCOMPARE(first.code, 0);
        QCOMPARE(first.err, m_home.filePath("data/navcal/holidays.txt") + ":3: no day 32.13\n");
        const Run read = run("/usr/bin/python3", {"-c", kExpand, m_home.filePath("year.ics")});
        const QStringList lines = read.out.split('\n');
        QCOMPARE(lines.at(0), "folded ok");
        QCOMPARE(lines.at(1), "Военно-морской календарь | Военно-морской календарь");
        // Days read off a printed calendar of 2026 and 2027, free time.
        for (const char* expected :
             {"2026-07-26 День Военно-Морского Флота", "2027-07-25 День Военно-Морского Флота",
              "2026-01-01 День тельняшки", "2027-01-01 Новый год", "2026-04-12 День селёдки",
              "2027-01-27 День снятия блокады Ленинграда",
              "2026-07-10 День победы русской армии над шведами в Полтавском сражении",
              "2026-09-20 День нашего экипажа", "2027-09-19 День нашего экипажа",
              "2027-08-14 Сбор экипажа «Стремительный», БЧ-2;БЧ-3 \\ все, кто ходил с нами",
              "2026-10-03 Встреча выпускников, 1990; кубрик №3"})
            QVERIFY2(!lines.filter(QString::fromUtf8(expected) + " TRANSPARENT ").isEmpty(),
                     expected);
        // A user's row is one holiday; the stored table's "; " still names two.
        QCOMPARE(lines.filter("2026-10-03 ").size(), 1);
        QCOMPARE(lines.filter("2026-01-01 ").size(), 2);
        // Written again, to standard output, the events keep their UIDs: an
        // import updates them.
        QCOMPARE(run("/bin/sh",
                     {"-c", "\"$0\" --ics - | /usr/bin/python3 -c \"$1\" /dev/stdin", NAVCAL_BINARY,
                      kExpand},
                     m_env, m_home.path())
                     .out,
                 read.out);
    }

    void printedPage() {
        QCOMPARE(navcal({"--pdf", "year.pdf", "2027"}).code, 0);
        const QString pdf = m_home.filePath("year.pdf");
        const QString text = run("pdftotext", {"-raw", pdf, "-"}).out;
        for (const char* month : {"Январь", "Февраль", "Март", "Апрель", "Май", "Июнь", "Июль",
                                  "Август", "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"})
            QVERIFY2(text.contains(QString::fromUtf8(month)), month);
        QVERIFY(text.contains("25.07 День Военно-Морского Флота\n"));
        QVERIFY(text.contains("19.09 День нашего экипажа\n"));
        QVERIFY(text.simplified().contains("03.10 Встреча выпускников, 1990; кубрик №3 "));
        // A name too long for its column is broken inside it: each of its
        // pieces ends before the next column's dates would begin.
        static const QRegularExpression word(
            R"re(<word xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)<)re");
        static const QRegularExpression date(R"(^\d\d\.\d\d$)");
        QList<double> columns;
        double longAt = -1;
        QString pieces;
        bool inLong = false;
        for (const QRegularExpressionMatch& m :
             word.globalMatch(run("pdftotext", {"-bbox", pdf, "-"}).out)) {
            const double left = m.captured(1).toDouble(), right = m.captured(2).toDouble();
            const bool isDate = date.match(m.captured(3)).hasMatch();
            if (isDate && !columns.contains(left))
                columns << left;
            inLong = isDate ? m.captured(3) == "04.10" : inLong;
            if (isDate && inLong)
                longAt = left;
            else if (inLong) {
                pieces += m.captured(3);
                QVERIFY2(right <= longAt + (columns.at(1) - columns.at(0)),
                         qPrintable(m.captured(3)));
            }
        }
        QCOMPARE(columns.size(), 3);
        QCOMPARE(pieces, "Переподготовка_в_учебном_отряде_подводного_плавания_имени_Кирова");
        // The weekends' red and the holidays' blue in the ink.
        QCOMPARE(
            run("pdftoppm", {"-r", "50", "-png", "-singlefile", pdf, "page"}, m_env, m_home.path())
                .code,
            0);
        const QImage page(m_home.filePath("page.png"));
        int red = 0, blue = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
                blue += c.blue() > 200 && c.red() < 80 && c.green() < 80;
            }
        QVERIFY2(red > 500 && blue > 100,
                 qPrintable(QString("%1 red, %2 blue").arg(red).arg(blue)));
    }

    void picture_data() {
        QTest::addColumn<QString>("ratio");
        QTest::addColumn<QStringList>("size");
        QTest::addColumn<QRect>("clock");
        // The clock's boxes: its "12:00:00" measured on the reviewed
        // screenshots of these runs, two pixels to spare on each side.
        QTest::newRow("1920x1080, no display")
            << "1" << QStringList{"1920x1080"} << QRect(867, 853, 167, 33);
        QTest::newRow("a ratio-2 screen's own") << "2" << QStringList{} << QRect(867, 852, 175, 36);
    }

    // On a frozen Navy Day, today's picture is the saver's screen once its
    // fill has ended and its clock has begun, but for the clock's box.
    void picture() {
        QFETCH(QString, ratio);
        QFETCH(QStringList, size);
        QFETCH(QRect, clock);
        const navcal::test::Xvfb xvfb({"-screen", "0", "1920x1080x24"});
        QVERIFY(navcal::test::writeFile(m_home.filePath("clock"), "2026-07-26 12:00:00\n"));
        QProcessEnvironment env = m_env;
        env.insert("LD_PRELOAD", "/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1");
        env.insert("FAKETIME_TIMESTAMP_FILE", m_home.filePath("clock"));
        env.insert("FAKETIME_DONT_FAKE_MONOTONIC", "1");
        env.insert("TZ", "UTC");
        env.insert("FONTCONFIG_FILE", fontCache("frozen"));
        env.insert("QT_SCALE_FACTOR", ratio);
        if (size.isEmpty())
            env.insert("DISPLAY", xvfb.display);
        const Run png =
            run(NAVCAL_BINARY, QStringList{"--png", "today.png"} + size, env, m_home.path());
        QCOMPARE(png.code, 0);
        QCOMPARE(png.err, m_home.filePath("data/navcal/holidays.txt") + ":3: no day 32.13\n");
        const QImage picture =
            QImage(m_home.filePath("today.png")).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(picture.size(), QSize(1920, 1080));

        env.insert("DISPLAY", xvfb.display);
        QProcess saver;
        saver.setProcessEnvironment(env);
        saver.start(NAVCAL_BINARY, {"/s"});
        // Looked at until the fill has ended and the clock shows, however
        // long a busy machine takes.
        QElapsedTimer waited;
        waited.start();
        int outside = -1, inside = 0;
        while (waited.elapsed() < 60000 && (outside != 0 || inside == 0)) {
            QTest::qWait(200);
            const QImage screen = navcal::test::screenshot(xvfb.display);
            outside = inside = 0;
            for (int y = 0; y < picture.height() && screen.size() == picture.size(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    if (screen.pixel(x, y) != picture.pixel(x, y))
                        ++(clock.contains(x, y) ? inside : outside);
        }
        QVERIFY2(outside == 0,
                 qPrintable(QString("%1 pixels differ outside the clock").arg(outside)));
        QVERIFY2(inside > 0, "the clock never showed");
    }

    // A picture at the limits of its size, at that size.
    void pictureAtTheLimits() {
        for (const QSize size : {QSize(160, 160), QSize(7680, 160), QSize(160, 7680)}) {
            const QString asked = QString("%1x%2").arg(size.width()).arg(size.height());
            QCOMPARE(navcal({"--png", "limit.png", asked}).code, 0);
            QCOMPARE(QImage(m_home.filePath("limit.png")).size(), size);
        }
    }

    void refused_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("unset"); // what the environment lacks
        QTest::newRow("no file") << QStringList{"--ics"} << 2 << "--ics needs a FILE"
                                 << QStringList();
        QTest::newRow("two files")
            << QStringList{"--ics", "a", "b"} << 2 << "\"b\" is one argument" << QStringList();
        QTest::newRow("a picture's three")
            << QStringList{"--png", "a.png", "200x200", "c"} << 2
            << "--png takes a FILE and a WIDTHxHEIGHT; \"c\" is one argument too many"
            << QStringList();
        QTest::newRow("a year too early") << QStringList{"--pdf", "old.pdf", "1582"} << 2
                                          << "the year \"1582\" is not" << QStringList();
        QTest::newRow("no such folder") << QStringList{"--pdf", "nowhere/year.pdf"} << 1
                                        << "cannot write nowhere/year.pdf: No such file or "
                                           "directory"
                                        << QStringList();
        QTest::newRow("a folder, no home")
            << QStringList{"--ics", "."} << 1 << "cannot write .: Is a directory"
            << QStringList{"HOME"};
        QTest::newRow("no documents folder")
            << QStringList{"--ics", "--open"} << 1 << "no documents folder" << QStringList{"HOME"};
        QTest::newRow("a picture too narrow") << QStringList{"--png", "old.pdf", "159x1080"} << 2
                                              << "the size \"159x1080\" is not" << QStringList();
        QTest::newRow("a picture too tall")
            << QStringList{"--png", "old.pdf", "1920x7681"} << 2
            << "is not WIDTHxHEIGHT with each side from 160 to 7680" << QStringList();
    }

    // One line that says what is wrong; the file that stood there kept and
    // nothing left beside it.
    void refused() {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, line);
        QFETCH(QStringList, unset);
        QVERIFY(navcal::test::writeFile(m_home.filePath("old.pdf"), "the old one"));
        const auto files = [this] {
            return QDir(m_home.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        };
        const QStringList before = files();
        QProcessEnvironment env = m_quiet;
        for (const QString& variable : unset)
            env.remove(variable);
        const Run refused = run(NAVCAL_BINARY, arguments, env, m_home.path());
        QCOMPARE(refused.code, code);
        QVERIFY2(refused.err.startsWith("navcal: ") && refused.err.count('\n') == 1 &&
                     refused.err.contains(line),
                 qPrintable(refused.err));
        QFile old(m_home.filePath("old.pdf"));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("the old one"));
        QCOMPARE(files(), before);
    }

    void fullDisk_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("to");    // "file", or "-" sent there by the shell
        QTest::addColumn<QString>("limit"); // a shell line that makes the file's room short
        QTest::addColumn<QString>("why");
        const QString full = "head -c 1M /dev/zero > filler 2>/dev/null";
        const QString limit = "ulimit -f 4";
        for (const QString form : {"--ics", "--pdf", "--png"})
            for (const QString to : {"file", "-"}) {
                QTest::addRow("%s to %s, disk full", qPrintable(form), qPrintable(to))
                    << form << to << full << "No space left on device";
                QTest::addRow("%s to %s, size limit", qPrintable(form), qPrintable(to))
                    << form << to << limit << "File too large";
            }
    }

    // Runs `script` in a tmpfs of its own, in a private mount namespace (so
    // nothing it does reaches the machine's file systems): the program is $0,
    // `arguments` follow, and the script starts in the mounted folder.
    Run onDiskOfItsOwn(const QString& options, const QString& script,
                       const QStringList& arguments) {
        const QString disk = m_home.filePath("disk");
        if (!QDir().mkpath(disk))
            return {};
        const int folder = int(arguments.size()) + 1;
        const QString mount =
            QStringLiteral("mount -t tmpfs %1 navcal-test \"$%2\" && cd \"$%2\" && ")
                .arg(options)
                .arg(folder);
        return run("unshare",
                   QStringList{"-m", "/bin/sh", "-c", mount + script, NAVCAL_BINARY} + arguments +
                       QStringList{disk},
                   m_quiet, m_home.path());
    }

    // A small file system of its own (a tmpfs in a private mount namespace)
    // that holds the old file and is then full, or a limit on a file's size
    // (the limit's signal left as it comes): one line, exit 1, also with no
    // runtime folder, and a FILE that stood there kept as it was, with
    // nothing beside it.
    void fullDisk() {
        QFETCH(QString, form);
        QFETCH(QString, to);
        QFETCH(QString, limit);
        QFETCH(QString, why);
        const QString write = to == "-" ? "\"$0\" \"$1\" - > old" : "\"$0\" \"$1\" old";
        const Run r = onDiskOfItsOwn("-o size=16k",
                                     "printf 'the old one' > old && (" + limit + "; " + write +
                                         "); echo \"exit $?\"; ls -A; cat old",
                                     {form});
        const QString name = to == "-" ? "-" : "old";
        QCOMPARE(r.err, QStringLiteral("navcal: cannot write %1: %2\n").arg(name, why));
        QVERIFY2(r.out.startsWith("exit 1\n"), qPrintable(r.out));
        if (to == "file")
            QCOMPARE(r.out.mid(7), QString(limit.startsWith("head") ? "filler\nold\nthe old one"
                                                                    : "old\nthe old one"));
    }

    void intoPlace_data() {
        QTest::addColumn<QString>("make"); // lays out the FILE: "place"
        QTest::addColumn<QString>("then"); // after the program, what tells the result
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("err");
        QTest::newRow("a device") << "mknod place c 1 3"
                                  << "stat -c %F place"
                                  << "exit 0\ncharacter special file\n"
                                  << "";
        QTest::newRow("a named pipe with a reader")
            << "mkfifo place; timeout 20 tail -c 15 place > got &"
            << "wait; stat -c %F place; cat got"
            << "exit 0\nfifo\nEND:VCALENDAR\r\n"
            << "";
        QTest::newRow("a named pipe whose reader comes later")
            << "mkfifo place; (sleep 1; timeout 20 tail -c 15 place > got) &"
            << "wait; stat -c %F place; cat got"
            << "exit 0\nfifo\nEND:VCALENDAR\r\n"
            << "";
        QTest::newRow("a folder") << "mkdir place"
                                  << "stat -c %F place; ls -A"
                                  << "exit 1\ndirectory\nplace\n"
                                  << "navcal: cannot write place: Is a directory\n";
        // As a container's /etc/hosts is: the file cannot be replaced, and
        // the write fails as a whole.
        QTest::newRow("a file mounted in its place")
            << "printf old > place; mount --bind place place"
            << "ls -A; cat place"
            << "exit 1\nplace\nold"
            << "navcal: cannot write place: Device or resource busy\n";
        QTest::newRow("a link to a file") << "printf old > file; ln -s file place"
                                          << "stat -c %F place; ls -A; tail -c 15 file"
                                          << "exit 0\nsymbolic link\nfile\nplace\nEND:VCALENDAR\r\n"
                                          << "";
    }

    // A FILE that stands there and is not a regular file is written into as
    // a shell's ">" would, never replaced (in a file system of the test's own,
    // where replacing a device would harm nothing).
    void intoPlace() {
        QFETCH(QString, make);
        QFETCH(QString, then);
        QFETCH(QString, expected);
        QFETCH(QString, err);
        const Run r =
            onDiskOfItsOwn("", make + "\n\"$0\" --ics place; echo \"exit $?\"; " + then, {});
        QCOMPARE(r.out, expected);
        QCOMPARE(r.err, err);
    }

    void signalled_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<bool>("reader"); // one that opens the pipe and never reads
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("why");
        QTest::newRow("SIGTERM waiting for a reader")
            << "--ics" << false << SIGTERM << "Terminated";
        QTest::newRow("SIGINT, the reader reads nothing")
            << "--pdf" << true << SIGINT << "Interrupt";
    }

    // Ctrl-C or SIGTERM ends an export that a pipe holds up: promptly, with
    // the code of the signal, one line, and the pipe still there.
    void signalled() {
        QFETCH(QString, form);
        QFETCH(bool, reader);
        QFETCH(int, signal);
        QFETCH(QString, why);
        const QString pipe = m_home.filePath("held");
        QFile::remove(pipe);
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const int readEnd =
            reader ? ::open(QFile::encodeName(pipe).constData(), O_RDONLY | O_NONBLOCK) : -1;
        // A pipe of one page, which the page fills many times over.
        if (reader)
            QVERIFY(::fcntl(readEnd, F_SETPIPE_SZ, 4096) >= 0);
        QProcess p;
        p.setProcessEnvironment(m_quiet);
        p.setWorkingDirectory(m_home.path());
        p.start(NAVCAL_BINARY, {form, "held"});
        QVERIFY(navcal::test::waitForPlatform(p.processId()));
        if (reader) {
            // The pipe is full before the page is all in it: then the program waits.
            pollfd ready{readEnd, POLLIN, 0};
            QCOMPARE(::poll(&ready, 1, 30000), 1);
        }
        ::kill(pid_t(p.processId()), signal);
        QElapsedTimer ended;
        ended.start();
        // Well within a second at rest; the ceiling leaves room for a busy machine.
        QVERIFY2(p.waitForFinished(5000), "still running");
        qInfo("ended %lld ms after the signal", ended.elapsed());
        if (readEnd >= 0)
            ::close(readEnd);
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 128 + signal);
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()),
                 QStringLiteral("navcal: cannot write held: %1\n").arg(why));
        struct stat info {};
        QVERIFY(::stat(QFile::encodeName(pipe).constData(), &info) == 0 && S_ISFIFO(info.st_mode));
    }
};

QTEST_GUILESS_MAIN(ExportTest)
#include "tst_export.moc"
