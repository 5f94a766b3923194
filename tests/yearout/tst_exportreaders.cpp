// The year written out, as the programs a user opens it with report it: the
// page and its fonts as Poppler's tools see them, the calendar file as
// libical, a strict reader, reads it; and the limits of what the program
// takes, at and just past each edge.

#include "support/Files.h"
#include "support/Run.h"
#include "support/SaverEnvironment.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using navcal::test::Run;
using navcal::test::run;

// libical's reading of a calendar file: the count of what it found wrong and
// whether every line is at most 75 octets, then each event's month, day and
// SUMMARY text, unfolded and unescaped as libical does.
const char* kLibical = R"(
import sys, gi
gi.require_version('ICalGLib', '3.0')
from gi.repository import ICalGLib
raw = open(sys.argv[1], 'rb').read()
cal = ICalGLib.Component.new_from_string(raw.decode('utf-8'))
kinds = [ICalGLib.ComponentKind.VCALENDAR_COMPONENT, ICalGLib.ComponentKind.VEVENT_COMPONENT]
errors = cal.count_properties(ICalGLib.PropertyKind.XLICERROR_PROPERTY)
events = []
ev = cal.get_first_component(kinds[1])
while ev:
    errors += ev.count_properties(ICalGLib.PropertyKind.XLICERROR_PROPERTY)
    start = ev.get_dtstart()
    events.append('%02d.%02d %s' % (start.get_day(), start.get_month(), ev.get_summary()))
    ev = cal.get_next_component(kinds[1])
print('kind', cal.isa() == kinds[0], 'errors', errors,
      'fits', all(len(line) <= 75 for line in raw.split(b'\r\n')))
print('\n'.join(events))
)";

// Anything a terminal would act on rather than show.
bool hasControls(const QString& text) {
    for (QChar c : text)
        if (c != u'\n' &&
            (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format))
            return true;
    return false;
}

} // namespace

class ExportReadersTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;
    QProcessEnvironment m_env;
    QString m_calendar;

    Run navcal(const QStringList& arguments) {
        return run(NAVCAL_BINARY, arguments, m_env, m_home.path());
    }
    QString userFile() const { return m_home.filePath("data/navcal/holidays.txt"); }

  private slots:
    void initTestCase() {
        m_env = navcal::test::saverEnvironment(m_home, "xcb");
        QVERIFY(QDir().mkpath(m_home.filePath("data/navcal")));
        QVERIFY(navcal::test::writeFile(
            userFile(),
            "14.08 | red | Сбор экипажа «Стремительный», БЧ-2;БЧ-3 \\ все, кто ходил с нами\n"
            "15.08 | red | Встреча ветеранов дивизиона эскадренных миноносцев "
            "Краснознамённого Северного флота, их семей и друзей\n"));
        QCOMPARE(navcal({"--ics", "year.ics"}).code, 0);
        const Run read = run("/usr/bin/python3", {"-c", kLibical, m_home.filePath("year.ics")},
                             m_env, m_home.path());
        QVERIFY2(read.code == 0, qPrintable(read.err));
        m_calendar = read.out;
        QVERIFY2(m_calendar.startsWith("kind True errors 0 fits True\n"), qPrintable(m_calendar));
    }

    // Each name as the holiday table writes it (the stored one and the
    // user's above): a calendar program shows exactly this.
    void summaries_data() {
        QTest::addColumn<QString>("event");
        QTest::newRow("commas") << "07.05 День связиста, специалиста РТС,Р";
        QTest::newRow("semicolon, backslash, quotes")
            << "14.08 Сбор экипажа «Стремительный», БЧ-2;БЧ-3 \\ все, кто ходил с нами";
        QTest::newRow("first of two on a day") << "01.01 День тельняшки";
        QTest::newRow("second of two on a day") << "01.01 Новый год";
        QTest::newRow("folded across letters")
            << "10.07 День победы русской армии над шведами в Полтавском сражении";
        QTest::newRow("folded twice") << "15.08 Встреча ветеранов дивизиона эскадренных "
                                         "миноносцев Краснознамённого Северного флота, их "
                                         "семей и друзей";
    }
    void summaries() {
        QFETCH(QString, event);
        QVERIFY2(m_calendar.split('\n').contains(event), qPrintable(m_calendar));
    }

    // The page a PDF viewer shows: one landscape A4 page of the year asked
    // for, set in the faces the screen shows (on Debian: the month panels in
    // Liberation Sans Bold, the title in Liberation Serif Bold Italic, the
    // rest in Liberation Serif Bold), each embedded. Years outside 1583..9999
    // are refused.
    void printedYear_data() {
        QTest::addColumn<QString>("year");
        QTest::addColumn<int>("code");
        QTest::newRow("1582, before the first year") << "1582" << 2;
        QTest::newRow("1583, the first year") << "1583" << 0;
        QTest::newRow("9999, the last year") << "9999" << 0;
        QTest::newRow("10000, after it") << "10000" << 2;
    }
    void printedYear() {
        QFETCH(QString, year);
        QFETCH(int, code);
        const QString pdf = m_home.filePath(year + ".pdf");
        const Run written = navcal({"--pdf", pdf, year});
        QCOMPARE(written.code, code);
        if (code != 0) {
            QCOMPARE(written.err,
                     "navcal: --pdf: the year \"" + year + "\" is not one from 1583 to 9999\n");
            QVERIFY(!QFile::exists(pdf));
            return;
        }
        const QString info = run("pdfinfo", {pdf}, m_env, m_home.path()).out;
        QVERIFY2(info.contains(QRegularExpression("\nPages: +1\n")), qPrintable(info));
        const QRegularExpressionMatch page =
            QRegularExpression("\nPage size: +([\\d.]+) x ([\\d.]+) pts").match(info);
        const QRegularExpressionMatch rotation =
            QRegularExpression("\nPage rot: +(\\d+)").match(info);
        QVERIFY2(page.hasMatch() && rotation.hasMatch(), qPrintable(info));
        // A4 is 210 x 297 mm: 595.3 x 841.9 points.
        double across = page.captured(1).toDouble(), down = page.captured(2).toDouble();
        if (rotation.captured(1).toInt() % 180 != 0)
            std::swap(across, down);
        QVERIFY2(qAbs(across - 841.9) < 1 && qAbs(down - 595.3) < 1, qPrintable(info));
        QVERIFY(run("pdftotext", {"-raw", pdf, "-"}, m_env, m_home.path())
                    .out.contains("Военно-морской календарь\n" + year + "\n"));

        QStringList faces;
        const QStringList fonts = run("pdffonts", {pdf}, m_env, m_home.path()).out.split('\n');
        for (const QString& line : fonts.mid(2)) {
            const QStringList columns = line.split(' ', Qt::SkipEmptyParts);
            if (columns.isEmpty())
                continue;
            QVERIFY2(line.contains(QRegularExpression(" yes +(yes|no) +(yes|no) +\\d+ +\\d+$")),
                     qPrintable("not embedded: " + line));
            // "ABCDEF+LiberationSans-Bold": the face without a subset's tag.
            const QString face = columns.first().section('+', -1);
            if (!faces.contains(face))
                faces << face;
        }
        faces.sort();
        QCOMPARE(faces, QStringList({"LiberationSans-Bold", "LiberationSerif-Bold",
                                     "LiberationSerif-BoldItalic"}));
    }

    // What the user wrote reaches the calendar whole up to 64 KiB, and a
    // bad row is reported without anything in it a terminal would act on.
    void userFileLimits_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("complaint");
        const QByteArray row = "14.08 | red | Сбор у причала\n";
        const auto padded = [&](int size) {
            QByteArray text = row;
            while (size - text.size() > 81)
                text += '#' + QByteArray(78, '-') + '\n';
            return text + '#' + QByteArray(size - text.size() - 2, '-') + '\n';
        };
        QTest::newRow("exactly 64 KiB") << padded(65536) << true << "";
        QTest::newRow("a byte more")
            << padded(65537) << false << ": ignored: not a readable file of at most 64 KiB\n";
        QTest::newRow("right-to-left override in the day")
            << ("\u202E14.08 | red | x\n" + row) << true
            << ":1: \"?14.08\" is no DD.MM day or Sunday rule\n";
        QTest::newRow("terminal escape in the colour")
            << ("14.08 | \x1b]0;owned\x07red | x\n" + row) << true
            << ":1: colour \"?]0;owned?red\" is not red, blue, #RRGGBB or -\n";
    }
    void userFileLimits() {
        QFETCH(QByteArray, text);
        QFETCH(bool, read);
        QFETCH(QString, complaint);
        QVERIFY(navcal::test::writeFile(userFile(), text));
        const Run written = navcal({"--ics", "-"});
        QCOMPARE(written.code, 0);
        QVERIFY2(!hasControls(written.err), qPrintable(written.err));
        QCOMPARE(written.err, complaint.isEmpty() ? QString() : userFile() + complaint);
        QCOMPARE(written.out.contains("SUMMARY:Сбор у причала\r\n"), read);
    }
};

QTEST_GUILESS_MAIN(ExportReadersTest)
#include "tst_exportreaders.moc"
