// The holiday table and its one question: what a date shows. Expected looks are
// written from a printed calendar, not read back from the table.

#include "calendar/Holidays.h"

#include <QtTest>
#include <chrono>

using namespace navcal::calendar;
namespace chr = std::chrono;

namespace {
const QString kRow = QStringLiteral("%1 | %2 | %3 | %4 | %5 | %6 | %7 | %8");

QString row(const char* when, const char* grid, const char* tip, const char* click,
            const char* banner, const char* text, const char* sunday = "-",
            const char* sundayText = "-") {
    return kRow.arg(QString::fromUtf8(when), QString::fromUtf8(grid), QString::fromUtf8(tip),
                    QString::fromUtf8(click), QString::fromUtf8(banner), QString::fromUtf8(text),
                    QString::fromUtf8(sunday), QString::fromUtf8(sundayText));
}

constexpr qint64 kNone = -1;
constexpr qint64 kRed = 0xFF0000;
constexpr qint64 kBlue = 0x0000FF;

qint64 colourOf(const std::optional<Colour>& colour) {
    return colour ? qint64(*colour) : kNone;
}

// A user's own file as Notepad writes it: a byte-order mark, CR LF line ends.
const QString kUserFile = QStringLiteral(
    "\uFEFF# my days\r\n14.08 | blue | День моего корабля\r\n"
    "third Sunday of September | blue | День нашего экипажа | - | - | Сбор экипажа!\r\n"
    "09.05 | #00FF00 | Мой день\r\n09.05 | - | - | - | - | Второй ряд\r\n"
    "28.05 | red | Застава\r\n32.13 | blue | Нет такого дня\r\n"
    "14.08 | \x1b]0;x\x07 | a\r\nfifth Sunday of May | blue | a\r\n14.08 | blue | "
    "a|-|-|b|-|-|c\r\n");
} // namespace

class TestHolidays : public QObject {
    Q_OBJECT
  private slots:
    void readsRows();
    void malformedRows_data();
    void malformedRows();
    void compiledTableIsSound();
    void writtenCalendar_data();
    void writtenCalendar();
    void sundayRulesAgainstChrono();
};

void TestHolidays::readsRows() {
    const HolidayTable table = parseHolidayTable(
        QStringLiteral("# a comment\n\n") +
        row("07.07", "-", "-", "-", "blue", "A\\n B  !", "red", "S\\nT") + QLatin1Char('\n') +
        row("last Sunday of July", "#123456", "Tip", "-", "-", "Fleet"));
    QVERIFY2(table.errors.isEmpty(), qPrintable(table.errors.join(u'\n')));
    QCOMPARE(table.rows.size(), size_t(2));
    // Inner spaces stay; \n is a CR LF line break; colours are plain RGB.
    const HolidayLook day = holidayOn(QDate(2026, 7, 7), {}, table.rows);
    QCOMPARE(colourOf(day.bannerColour), kBlue);
    QCOMPARE(day.bannerText, QStringLiteral("A\r\n B  !"));
    const HolidayLook sunday = holidayOn(QDate(2024, 7, 7), {}, table.rows);
    QCOMPARE(colourOf(sunday.bannerColour), kRed);
    QCOMPARE(sunday.bannerText, QStringLiteral("S\r\nT"));
    const HolidayLook fleet = holidayOn(QDate(2026, 7, 26), {}, table.rows);
    QCOMPARE(colourOf(fleet.gridColour), qint64(0x123456));
    QCOMPARE(fleet.bannerText, QStringLiteral("Fleet"));
    // A user's file: each bad row skipped and named by its line, counted past
    // the byte-order mark; a terminal's escapes in a message are masked.
    const HolidayTable user = parseHolidayTable(kUserFile, TableOwner::User);
    QCOMPARE(user.errors,
             QStringList({"7: no day 32.13", "8: colour \"?]0;x?\" is not red, blue, #RRGGBB or -",
                          "9: \"fifth Sunday of May\" is no DD.MM day or Sunday rule",
                          "10: 9 columns instead of 3 to 8"}));
    QCOMPARE(user.rows.size(), size_t(5));
}

void TestHolidays::malformedRows_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("too few fields") << QStringLiteral("01.01 | red | Tip | mark | - | Text | -");
    QTest::newRow("a stray bar") << row("01.01", "red", "Tip|x", "mark", "-", "Text");
    QTest::newRow("no such day") << row("30.02", "red", "Tip", "-", "-", "-");
    QTest::newRow("month first") << row("1.13", "red", "Tip", "-", "-", "-");
    QTest::newRow("no such month") << row("last Sunday of Julember", "red", "Tip", "-", "-", "-");
    QTest::newRow("fifth Sunday") << row("fifth Sunday of July", "red", "Tip", "-", "-", "-");
    QTest::newRow("unknown colour") << row("01.01", "green", "Tip", "-", "-", "-");
    QTest::newRow("short RGB") << row("01.01", "#F00", "Tip", "-", "-", "-");
    QTest::newRow("unknown click") << row("01.01", "red", "Tip", "marks", "-", "-");
    QTest::newRow("mark without grid colour") << row("01.01", "-", "-", "mark", "-", "Text");
    QTest::newRow("tip mark without tip") << row("01.01", "red", "-", "mark+tip", "-", "-");
    QTest::newRow("Sunday text on a rule")
        << row("first Sunday of July", "blue", "Tip", "-", "-", "Text", "red", "Sun");
    QTest::newRow("banner colour without text") << row("01.01", "red", "Tip", "-", "blue", "-");
    QTest::newRow("Sunday colour without text") << row("01.01", "-", "-", "-", "-", "T", "red");
    QTest::newRow("empty row") << row("01.01", "-", "-", "-", "-", "-");
    QTest::newRow("twice") << row("01.01", "red", "A", "-", "-", "-") + QLatin1Char('\n') +
                                  row("01.01", "red", "B", "-", "-", "-");
}

void TestHolidays::malformedRows() {
    QFETCH(QString, text);
    const HolidayTable table = parseHolidayTable(QStringLiteral("# header\n") + text);
    QCOMPARE(table.errors.size(), 1);
    // The message names the line of the bad row.
    QVERIFY2(table.errors[0].startsWith(QStringLiteral("2: ")) ||
                 table.errors[0].startsWith(QStringLiteral("3: ")),
             qPrintable(table.errors[0]));
}

// The program's own table loads without an error.
void TestHolidays::compiledTableIsSound() {
    (void)holidays(); // registers the resource
    QFile file(QStringLiteral(":/holidays.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const HolidayTable table = parseHolidayTable(QString::fromUtf8(file.readAll()));
    QVERIFY2(table.errors.isEmpty(), qPrintable(table.errors.join(u'\n')));
    QCOMPARE(table.rows.size(), holidays().size());
}

void TestHolidays::writtenCalendar_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<bool>("userFile"); // kUserFile's rows beside the stored table
    QTest::addColumn<qint64>("grid");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("title"); // "-", or "mark" or "mark+tip" and the colour
    QTest::addColumn<qint64>("banner");
    QTest::addColumn<QString>("text");
    const QString none;
    // Which date a Sunday rule names in any month is sundayRulesAgainstChrono's;
    // here, the table's own days, and a second year where a fixed date would do.
    const auto day = [](const char* name, QDate date, bool userFile = false) -> QTestData& {
        return QTest::newRow(name) << date << userFile;
    };
    day("23 February", QDate(2026, 2, 23))
        << kRed << "День защитника Отечества"
        << "mark+tip ff0000" << kNone << "День защитника Отечества!";
    day("22 February", QDate(2026, 2, 22)) << kNone << none << "-" << kNone << none;
    day("24 February", QDate(2026, 2, 24)) << kNone << none << "-" << kNone << none;
    day("29 February", QDate(2024, 2, 29)) << kNone << none << "-" << kNone << none;
    day("7 January", QDate(2026, 1, 7)) << kRed << "Рождество Христово"
                                        << "mark ff0000" << kNone << none;
    day("27 January: banner only", QDate(2026, 1, 27))
        << kNone << none << "-" << kBlue << "День снятия блокады Ленинграда!";
    day("12 April 2026, second Sunday", QDate(2026, 4, 12)) << kNone << "День селёдки"
                                                            << "-" << kNone << none;
    day("14 April 2024, second Sunday", QDate(2024, 4, 14)) << kNone << "День селёдки"
                                                            << "-" << kNone << none;
    day("28 May: no mark on a title click", QDate(2026, 5, 28)) << kBlue << "День пограничника"
                                                                << "-" << kNone << none;
    day("5 July 2026, first Sunday", QDate(2026, 7, 5))
        << kBlue << "День морского и речного флота"
        << "-" << kNone << "День морского и речного флота!";
    day("12 July 2026, second Sunday", QDate(2026, 7, 12)) << kBlue << "День рыбака"
                                                           << "-" << kNone << "День рыбака!";
    day("26 July 2026, last Sunday", QDate(2026, 7, 26))
        << kBlue << "День Военно-Морского Флота"
        << "-" << kNone << "День Военно-Морского Флота!";
    day("25 July 2027, last Sunday", QDate(2027, 7, 25))
        << kBlue << "День Военно-Морского Флота"
        << "-" << kNone << "День Военно-Морского Флота!";
    day("7 July 2026, a Tuesday", QDate(2026, 7, 7))
        << kNone << none << "-" << kBlue
        << "День победы русского флота\r\nнад турецким флотом в бухте Чесма !";
    day("7 July 2024, a Sunday: the day's own Sunday banner", QDate(2024, 7, 7))
        << kBlue << "День морского и речного флота"
        << "-" << kRed
        << "День морского и речного флота!\r\nДень победы русского флота над турецким флотом в "
           "бухте Чесма !";
    day("10 July 2022, a Sunday", QDate(2022, 7, 10))
        << kBlue << "День рыбака"
        << "-" << kRed
        << "День рыбака!\r\nДень победы русской армии над шведами\r\nв Полтавском сражении  !";
    day("17 July", QDate(2026, 7, 17)) << kBlue << "День авиации ВМФ"
                                       << "mark+tip 0000ff" << kNone << "День авиации ВМФ!";
    day("8 September, second line begins with a space", QDate(2026, 9, 8))
        << kBlue << "Праздник Новороссийского военно-морского района"
        << "mark 0000ff" << kNone << "День Новороссийской ВМБ!\r\n День Бородинского сражения!";
    day("9 December", QDate(2026, 12, 9))
        << kBlue << "День Каспийского высшего военно-морского училища"
        << "mark 0000ff" << kNone << "День Каспийского ВВМКУ!";
    // Banner-only days, as the written list of the year's banners gives them.
    day("9 August: banner only", QDate(2026, 8, 9))
        << kNone << none << "-" << kBlue
        << "День победы русского флота\r\nнад шведами у мыса Гангут !";
    day("11 September: banner only", QDate(2026, 9, 11))
        << kNone << none << "-" << kBlue << "День победы русской эскадры у мыса Тендра !";
    day("1 December: banner only", QDate(2026, 12, 1))
        << kNone << none << "-" << kBlue << "День победы русской эскадры у мыса Синоп !";
    day("24 December: banner only", QDate(2026, 12, 24))
        << kNone << none << "-" << kBlue
        << "День взятия турецкой крепости Измаил русскими войсками !";
    day("no date", QDate()) << kNone << none << "-" << kNone << none;
    // The user's rows add lines, and their colours, to the stored day's.
    day("14 August: a user's short row marks on a title click", QDate(2026, 8, 14), true)
        << kBlue << "День моего корабля"
        << "mark 0000ff" << kNone << none;
    day("20 September 2026: a user's third Sunday", QDate(2026, 9, 20), true)
        << kBlue << "День нашего экипажа"
        << "-" << kNone << "Сбор экипажа!";
    day("9 May: the stored day, then two rows of the user's", QDate(2026, 5, 9), true)
        << qint64(0x00FF00) << "День Победы\nМой день"
        << "mark ff0000" << kNone << "День Победы!\r\nВторой ряд";
    day("28 May: the user's colour, the stored title click", QDate(2026, 5, 28), true)
        << kRed << "День пограничника\nЗастава"
        << "-" << kNone << none;
}

void TestHolidays::writtenCalendar() {
    QFETCH(QDate, date);
    QFETCH(bool, userFile);
    QFETCH(qint64, grid);
    QFETCH(QString, tip);
    QFETCH(QString, title);
    QFETCH(qint64, banner);
    QFETCH(QString, text);
    const HolidayTable user = parseHolidayTable(userFile ? kUserFile : QString(), TableOwner::User);
    const HolidayLook look = holidayOn(date, user.rows);
    QCOMPARE(colourOf(look.gridColour), grid);
    QCOMPARE(look.gridTip, tip);
    const QString click = !look.titleColour ? QStringLiteral("-")
                                            : QStringLiteral("%1 %2")
                                                  .arg(look.titleTip ? "mark+tip" : "mark")
                                                  .arg(*look.titleColour, 6, 16, QLatin1Char('0'));
    QCOMPARE(click, title);
    QCOMPARE(colourOf(look.bannerColour), banner);
    QCOMPARE(look.bannerText, text);
}

// The n-th and the last Sunday of every month, 1900-2100, as the standard
// library's calendar counts them.
void TestHolidays::sundayRulesAgainstChrono() {
    for (int year = 1900; year <= 2100; ++year) {
        for (unsigned month = 1; month <= 12; ++month) {
            const chr::year_month ym{chr::year(year), chr::month(month)};
            for (int nth = 1; nth <= 4; ++nth) {
                const chr::year_month_day d{ym / chr::Sunday[unsigned(nth)]};
                const QDate date(year, int(month), int(unsigned(d.day())));
                const HolidayDay rule{.month = int(month), .sunday = nth};
                QVERIFY(rule.falls(date));
                QVERIFY(!rule.falls(date.addDays(7)));
                QVERIFY(!rule.falls(date.addDays(-7)));
                QVERIFY(!rule.falls(date.addDays(1)));
            }
            const chr::year_month_day last{ym / chr::Sunday[chr::last]};
            const QDate date(year, int(month), int(unsigned(last.day())));
            const HolidayDay rule{.month = int(month), .sunday = -1};
            QVERIFY(rule.falls(date));
            QVERIFY(!rule.falls(date.addDays(-7)));
            QVERIFY(!rule.falls(date.addDays(-1)));
        }
    }
}

QTEST_GUILESS_MAIN(TestHolidays)
#include "tst_holidays.moc"
