// The year written out by the real program, with no display, and read back
// by other programs: an iCalendar parser and Poppler's PDF tools; today's
// picture set against the saver's own screen.

#include "support/Files.h"
#include "support/RootShot.h"
#include "support/SaverEnvironment.h"
#include "support/Xvfb.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int code = -1;
    QString out, err;
};

// A program run to its end in `folder`.
Run run(const QString& program, const QStringList& arguments, const QProcessEnvironment& env = {},
        const QString& folder = {}) {
    QProcess p;
    p.setProcessEnvironment(env.isEmpty() ? QProcessEnvironment::systemEnvironment() : env);
    p.setWorkingDirectory(folder);
    p.start(program, arguments);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

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
    "32.13 | blue | Нет такого дня\n";

} // namespace

class ExportTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;
    QProcessEnvironment m_env;

    // The program with no display to reach: a toolkit that tried one would fail.
    Run navcal(const QStringList& arguments) {
        return run(NAVCAL_BINARY, arguments, m_env, m_home.path());
    }

    // The system's fonts with a font cache of this test's own, named `name`:
    // a run under a frozen clock rewrites the cache it uses, and a run under
    // a file-size limit that then has to rewrite it says so on stderr.
    QString fontCache(const QString& name) {
        const QString conf = m_home.filePath(name + ".conf");
        navcal::test::writeFile(conf, "<fontconfig><cachedir>" + m_home.filePath(name).toUtf8() +
                                          "</cachedir><include>/etc/fonts/fonts.conf</include>"
                                          "</fontconfig>");
        return conf;
    }

  private slots:
    void initTestCase() {
        m_env = navcal::test::saverEnvironment(m_home, "xcb");
        m_env.insert("FONTCONFIG_FILE", fontCache("fonts"));
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
              "2027-08-14 Сбор экипажа «Стремительный», БЧ-2;БЧ-3 \\ все, кто ходил с нами"})
            QVERIFY2(!lines.filter(QString::fromUtf8(expected) + " TRANSPARENT ").isEmpty(),
                     expected);
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
        QVERIFY(text.contains("Военно-морской календарь\n2027\n"));
        QVERIFY(text.contains("25.07 День Военно-Морского Флота\n"));
        QVERIFY(text.contains("19.09 День нашего экипажа\n"));
        // Every font is in the file.
        const QString fonts = run("pdffonts", {pdf}).out;
        QVERIFY2(!fonts.contains(QRegularExpression(" no +(yes|no) +(yes|no) +\\d+ +\\d+\n")) &&
                     fonts.count('\n') > 3,
                 qPrintable(fonts));
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
        QTest::newRow("no file") << QStringList{"--ics"} << 2 << "--ics needs a FILE";
        QTest::newRow("two files")
            << QStringList{"--ics", "a", "b"} << 2 << "\"b\" is one argument";
        QTest::newRow("a year too early")
            << QStringList{"--pdf", "old.pdf", "1582"} << 2 << "the year \"1582\" is not";
        QTest::newRow("no such folder")
            << QStringList{"--pdf", "nowhere/year.pdf"} << 1 << "cannot write nowhere/year.pdf: ";
        QTest::newRow("cut off half way")
            << QStringList{"--pdf", "old.pdf", "2027"} << 1 << "cannot write old.pdf: ";
        QTest::newRow("a picture too narrow")
            << QStringList{"--png", "old.pdf", "159x1080"} << 2 << "the size \"159x1080\" is not";
        QTest::newRow("a picture too tall")
            << QStringList{"--png", "old.pdf", "1920x7681"} << 2
            << "is not WIDTHxHEIGHT with each side from 160 to 7680";
        QTest::newRow("a picture cut off half way")
            << QStringList{"--png", "old.pdf", "1920x1080"} << 1 << "cannot write old.pdf: ";
    }

    // One line that says what is wrong; the file that stood there kept and
    // nothing left beside it, also when the system stops the write half way
    // (a file may grow to 8 blocks).
    void refused() {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, line);
        QVERIFY(navcal::test::writeFile(m_home.filePath("old.pdf"), "the old one"));
        const QStringList before = QDir(m_home.path()).entryList(QDir::Files);
        QProcessEnvironment env = m_env; // no holidays.txt to report on
        env.insert("XDG_DATA_HOME", m_home.filePath("none"));
        const QString limited = "ulimit -f 8; trap '' XFSZ; exec \"$0\" \"$@\"";
        const Run refused = run("/bin/sh", QStringList{"-c", limited, NAVCAL_BINARY} + arguments,
                                env, m_home.path());
        QCOMPARE(refused.code, code);
        QVERIFY2(refused.err.startsWith("navcal: ") && refused.err.count('\n') == 1 &&
                     refused.err.contains(line),
                 qPrintable(refused.err));
        QFile old(m_home.filePath("old.pdf"));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("the old one"));
        QCOMPARE(QDir(m_home.path()).entryList(QDir::Files), before);
    }
};

QTEST_GUILESS_MAIN(ExportTest)
#include "tst_export.moc"
