// The banner's table and its date lookup, without widgets.

#include "banner/BannerTable.h"

#include <QtTest>

using navcal::banner::bannerFor;
using navcal::banner::BannerLook;
using navcal::layout::Colour;

namespace {

constexpr Colour kDarkRed = 0x000080;
constexpr Colour kBlue = 0xFF0000;
constexpr Colour kRed = 0x0000FF;

// The texts as they must appear, written out here independently of the table.
struct Expected {
    int day, month;
    Colour colour;
    const char* text;
};

const Expected kFixed[] = {
    {1, 1, kDarkRed, "День тельняшки!"},
    {10, 1, kDarkRed, "День инженер-механика, БЧ-5"},
    {12, 1, kDarkRed, "День Морского интернет-клуба !"},
    {15, 1, kDarkRed, "День Главного штаба ВМФ!"},
    {25, 1, kDarkRed, "День штурмана, БЧ-1!"},
    {27, 1, kBlue, "День снятия блокады Ленинграда!"},
    {2, 2, kBlue, "День разгрома фашистов в Сталинградской битве!"},
    {23, 2, kDarkRed, "День защитника Отечества!"},
    {5, 3, kDarkRed, "День Мореходных училищ!"},
    {19, 3, kDarkRed, "День моряка-подводника!"},
    {21, 3, kDarkRed, "Народный День штурмана!"},
    {22, 3, kDarkRed, "Всемирный День Балтийского моря!"},
    {18, 4, kBlue, "День победы Александра Невского\r\nнад немецкими рыцарями на Чудском озере!"},
    {5, 5, kDarkRed, "День водолаза!"},
    {7, 5, kDarkRed, "День связиста, БЧ-4, РТС!"},
    {9, 5, kDarkRed, "День Победы!"},
    {13, 5, kDarkRed, "День Черноморского флота!"},
    {18, 5, kDarkRed, "День Балтийского флота!"},
    {21, 5, kDarkRed, "День Тихоокеанского флота!"},
    {1, 6, kDarkRed, "День Северного флота!"},
    {20, 6, kDarkRed, "День минера-торпедиста!"},
    {7, 7, kBlue, "День победы русского флота\r\nнад турецким флотом в бухте Чесма !"},
    {10, 7, kBlue, "День победы русской армии\r\nнад шведами в Полтавском сражении  !"},
    {17, 7, kDarkRed, "День авиации ВМФ!"},
    {9, 8, kBlue, "День победы русского флота\r\nнад шведами у мыса Гангут !"},
    {23, 8, kBlue, "День разгрома фашистов в Курской битве!"},
    {8, 9, kDarkRed, "День Новороссийской ВМБ!\r\n День Бородинского сражения!"},
    {11, 9, kBlue, "День победы русской эскадры у мыса Тендра !"},
    {21, 9, kBlue, "День победы в Куликовской битве!"},
    {8, 10, kDarkRed, "День командира корабля!"},
    {30, 10, kDarkRed, "День моряка-надводника!"},
    {7, 11, kBlue, "День освобождения Москвы от польских интервентов !"},
    {15, 11, kDarkRed, "День Каспийской флотилии!"},
    {19, 11, kDarkRed, "День ракетчика и артиллериста!"},
    {27, 11, kDarkRed, "День морской пехоты!"},
    {1, 12, kBlue, "День победы русской эскадры у мыса Синоп !"},
    {5, 12, kBlue, "День начала контрнаступления\r\nсоветских войск в битве под Москвой !"},
    {9, 12, kDarkRed, "День Каспийского ВВМКУ!"},
    {24, 12, kBlue, "День взятия турецкой крепости Измаил русскими войсками !"},
};

// What a Sunday turns 7 and 10 July into.
const Expected kSundayTexts[] = {
    {7, 7, kRed,
     "День морского и речного флота!\r\n"
     "День победы русского флота над турецким флотом в бухте Чесма !"},
    {10, 7, kRed,
     "День рыбака!\r\nДень победы русской армии над шведами\r\nв Полтавском сражении  !"},
};

// July's first, second and last Sunday (last: -1).
struct JulySunday {
    int nth;
    const char* text;
};
const JulySunday kJulySundays[] = {
    {1, "День морского и речного флота!"},
    {2, "День рыбака!"},
    {-1, "День Военно-Морского Флота!"},
};

bool isNthJulySunday(const QDate& date, int nth) {
    if (date.month() != 7 || date.dayOfWeek() != Qt::Sunday)
        return false;
    return nth > 0 ? (date.day() - 1) / 7 + 1 == nth : date.addDays(7).month() != 7;
}

// The banner of a day, from the lists above alone.
BannerLook expectedBanner(const QDate& date) {
    const auto on = [&](const Expected& e) {
        return date.month() == e.month && date.day() == e.day;
    };
    if (date.dayOfWeek() == Qt::Sunday)
        for (const Expected& e : kSundayTexts)
            if (on(e))
                return {QString::fromUtf8(e.text), e.colour};
    for (const Expected& e : kFixed)
        if (on(e))
            return {QString::fromUtf8(e.text), e.colour};
    for (const JulySunday& s : kJulySundays)
        if (isNthJulySunday(date, s.nth))
            return {QString::fromUtf8(s.text), kDarkRed};
    return {};
}

} // namespace

class TestBannerTable : public QObject {
    Q_OBJECT
  private slots:
    void lookup_data();
    void lookup();
    void everyDayOfTheYear_data();
    void everyDayOfTheYear();
};

void TestBannerTable::lookup_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<Colour>("colour");
    QTest::addColumn<QString>("text");
    // July's Sundays and the days around them, written out here to hold the
    // day-by-day check's own rule to real dates.
    const QString navy = QStringLiteral("День морского и речного флота!");
    const QString fishermen = QStringLiteral("День рыбака!");
    QTest::newRow("first Sunday on the 1st") << QDate(2029, 7, 1) << kDarkRed << navy;
    QTest::newRow("first Sunday on the 5th") << QDate(2026, 7, 5) << kDarkRed << navy;
    QTest::newRow("1st on a Wednesday") << QDate(2026, 7, 1) << kDarkRed << QString();
    QTest::newRow("6th on a Monday") << QDate(2026, 7, 6) << kDarkRed << QString();
    QTest::newRow("second Sunday on the 12th") << QDate(2026, 7, 12) << kDarkRed << fishermen;
    QTest::newRow("Sunday the 19th") << QDate(2026, 7, 19) << kDarkRed << QString();
    const QString fleet = QStringLiteral("День Военно-Морского Флота!");
    QTest::newRow("last Sunday the 26th") << QDate(2026, 7, 26) << kDarkRed << fleet;
    QTest::newRow("31st on a Friday") << QDate(2026, 7, 31) << kDarkRed << QString();
}

void TestBannerTable::lookup() {
    QFETCH(QDate, date);
    QFETCH(Colour, colour);
    QFETCH(QString, text);
    const BannerLook look = bannerFor(date);
    QCOMPARE(look.text, text);
    QCOMPARE(look.colour, colour);
}

void TestBannerTable::everyDayOfTheYear_data() {
    QTest::addColumn<int>("year");
    QTest::newRow("2018: 1 July a Sunday") << 2018;
    QTest::newRow("2019: 7 and 14 July Sundays") << 2019;
    QTest::newRow("2022: 10 and 31 July Sundays") << 2022;
    QTest::newRow("2024: leap, 7 and 14 July Sundays") << 2024;
    QTest::newRow("2027: 25 July a Sunday") << 2027;
}

void TestBannerTable::everyDayOfTheYear() {
    QFETCH(int, year);
    for (QDate date(year, 1, 1); date.year() == year; date = date.addDays(1)) {
        const BannerLook shown = bannerFor(date);
        const BannerLook expected = expectedBanner(date);
        QVERIFY2(shown == expected, qPrintable(QStringLiteral("%1: '%2' %3 instead of '%4' %5")
                                                   .arg(date.toString(Qt::ISODate), shown.text)
                                                   .arg(shown.colour, 0, 16)
                                                   .arg(expected.text)
                                                   .arg(expected.colour, 0, 16)));
    }
}

QTEST_GUILESS_MAIN(TestBannerTable)
#include "tst_bannertable.moc"
