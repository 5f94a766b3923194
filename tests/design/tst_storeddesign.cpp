#include "design/StoredDesign.h"

#include <QtTest>
#include <algorithm>

using namespace navcal::design;

namespace {
// A month's weekday header (0 = Monday) or day cell, as its panel row names it.
const StoredControl* find(int month, bool header, int index) {
    const MonthLayout& m = monthLayouts().at(month - 1);
    const QString name = header ? m.headers.at(index) : m.cells;
    for (const StoredControl& c : storedControls())
        if (c.name == name && c.index == (header ? -1 : index))
            return &c;
    return nullptr;
}
} // namespace

class TestStoredDesign : public QObject {
    Q_OBJECT
  private slots:
    void linkLineShowsTheSiteHost();
    void everyLabelInsideTheArrangement();
    void panelCells_data();
    void panelCells();
};

// The link line shows the host of the one site address. (A role given twice
// or a panel's missing control stops every start-up.)
void TestStoredDesign::linkLineShowsTheSiteHost() {
    const auto& controls = storedControls();
    const auto link = std::ranges::find(controls, Role::SiteAddress, &StoredControl::role);
    QVERIFY(link != controls.end());
    QCOMPARE(link->caption, QStringLiteral("www.flagmarin.ru"));
}

void TestStoredDesign::everyLabelInsideTheArrangement() {
    for (const StoredControl& c : storedControls()) {
        if (c.kind != ControlKind::Label)
            continue;
        QVERIFY2(c.left >= 0 && c.top >= 0, qPrintable(c.objectName()));
        QVERIFY2(c.left + c.width <= kArrangementWidth && c.top + c.height <= kArrangementHeight,
                 qPrintable(c.objectName()));
    }
}

void TestStoredDesign::panelCells_data() {
    QTest::addColumn<int>("month");
    QTest::addColumn<bool>("header");
    QTest::addColumn<int>("index");    // the cell, or the header's weekday
    QTest::addColumn<QRectF>("twips"); // left, top, width, height
    QTest::addColumn<QString>("caption");
    QTest::addColumn<qint64>("colour"); // -1: the system's button-text colour
    // Read off the stored form: first and last cells, a Sunday, the wider
    // columns of March, August a row lower than July, headers both ways round.
    QTest::newRow("January, 1st cell")
        << 1 << false << 0 << QRectF(720, 1560, 120, 195) << "1" << qint64(0x000000);
    QTest::newRow("January, last cell")
        << 1 << false << 36 << QRectF(2400, 1800, 225, 195) << "37" << qint64(0x000000);
    QTest::newRow("February, a Sunday")
        << 2 << false << 13 << QRectF(3840, 3000, 225, 195) << "14" << qint64(-1);
    QTest::newRow("March, last cell")
        << 3 << false << 36 << QRectF(12000, 1800, 225, 195) << "37" << qint64(-1);
    QTest::newRow("August, second column")
        << 8 << false << 8 << QRectF(13560, 6720, 120, 195) << "9" << qint64(-1);
    QTest::newRow("November, a Saturday")
        << 11 << false << 26 << QRectF(11280, 9960, 225, 195) << "27" << qint64(0x000000);
    QTest::newRow("January's Monday")
        << 1 << true << 0 << QRectF(360, 1560, 240, 195) << "Пн" << qint64(0x804000);
    QTest::newRow("February's Sunday")
        << 2 << true << 6 << QRectF(3240, 3000, 225, 195) << "Вс" << qint64(0x804000);
    QTest::newRow("August's Saturday")
        << 8 << true << 5 << QRectF(12960, 7680, 225, 195) << "Сб" << qint64(0x804000);
}

void TestStoredDesign::panelCells() {
    QFETCH(int, month);
    QFETCH(bool, header);
    QFETCH(int, index);
    QFETCH(QRectF, twips);
    QFETCH(QString, caption);
    QFETCH(qint64, colour);
    const StoredControl* c = find(month, header, index);
    QVERIFY(c);
    QCOMPARE(QRectF(c->left, c->top, c->width, c->height), twips);
    QCOMPARE(c->caption, caption);
    QCOMPARE(c->colour ? qint64(*c->colour) : qint64(-1), colour);
    QCOMPARE(c->font.face, QStringLiteral("MS Sans Serif"));
    QCOMPARE(c->font.points, 8.25f);
    QVERIFY(c->font.bold && !c->font.italic);
}

QTEST_APPLESS_MAIN(TestStoredDesign)
#include "tst_storeddesign.moc"
