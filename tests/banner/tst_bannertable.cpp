// The banner's table and its date lookup, without widgets.

#include "banner/BannerTable.h"

#include <QtTest>

using navcal::banner::bannerFor;
using navcal::banner::BannerLook;
using navcal::layout::Colour;

namespace {

constexpr Colour kDarkRed = 0x800000;
constexpr Colour kBlue = 0x0000FF;
constexpr Colour kRed = 0xFF0000;

} // namespace

class TestBannerTable : public QObject {
    Q_OBJECT
  private slots:
    void lookup_data();
    void lookup();
};

void TestBannerTable::lookup_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<Colour>("colour");
    QTest::addColumn<QString>("text");
    // The table's rules, not its every line: July's Sundays and the days
    // around them, a Sunday text that replaces a day's own, lines kept apart.
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
    const QString poltava = QStringLiteral("над шведами в Полтавском сражении  !");
    QTest::newRow("10 July on a Friday")
        << QDate(2026, 7, 10) << kBlue << "День победы русской армии\r\n" + poltava;
    QTest::newRow("10 July on a Sunday: its Sunday text")
        << QDate(2022, 7, 10) << kRed
        << "День рыбака!\r\nДень победы русской армии над шведами\r\nв Полтавском сражении  !";
    QTest::newRow("7 July on a Sunday: its Sunday text, not the first Sunday's")
        << QDate(2024, 7, 7) << kRed
        << "День морского и речного флота!\r\nДень победы русского флота над турецким "
           "флотом в бухте Чесма !";
    QTest::newRow("a fixed day in any year") << QDate(2031, 5, 9) << kDarkRed << "День Победы!";
}

void TestBannerTable::lookup() {
    QFETCH(QDate, date);
    QFETCH(Colour, colour);
    QFETCH(QString, text);
    const BannerLook look = bannerFor(date);
    QCOMPARE(look.text, text);
    QCOMPARE(look.colour, colour);
}

QTEST_GUILESS_MAIN(TestBannerTable)
#include "tst_bannertable.moc"
