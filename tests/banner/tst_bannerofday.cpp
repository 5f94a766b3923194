// What the banner shows on a day, without widgets.

#include "banner/BannerOfDay.h"

#include <QtTest>

using navcal::banner::bannerFor;
using navcal::banner::BannerLook;
using navcal::design::Colour;

namespace {

constexpr Colour kDarkRed = 0x800000;
constexpr Colour kBlue = 0x0000FF;

} // namespace

class TestBannerOfDay : public QObject {
    Q_OBJECT
  private slots:
    void lookup_data();
    void lookup();
};

void TestBannerOfDay::lookup_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<Colour>("colour");
    QTest::addColumn<QString>("text");
    // What a day's banner is made of: the stored dark red where the table
    // gives no colour, the table's colour otherwise. The table's own days
    // (Sunday texts and colours too) against a written calendar are
    // tst_holidays'.
    QTest::newRow("1st on a Wednesday") << QDate(2026, 7, 1) << kDarkRed << QString();
    const QString poltava = QStringLiteral("над шведами в Полтавском сражении  !");
    QTest::newRow("10 July on a Friday")
        << QDate(2026, 7, 10) << kBlue << "День победы русской армии\r\n" + poltava;
    QTest::newRow("a fixed day in any year") << QDate(2031, 5, 9) << kDarkRed << "День Победы!";
}

void TestBannerOfDay::lookup() {
    QFETCH(QDate, date);
    QFETCH(Colour, colour);
    QFETCH(QString, text);
    const BannerLook look = bannerFor(date);
    QCOMPARE(look.text, text);
    QCOMPARE(look.colour, colour);
}

QTEST_GUILESS_MAIN(TestBannerOfDay)
#include "tst_bannerofday.moc"
