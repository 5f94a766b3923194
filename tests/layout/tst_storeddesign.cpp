#include "layout/StoredDesign.h"

#include <QSet>
#include <QtTest>

using namespace navcal::layout;

namespace {
const StoredControl* find(const QString& name, int index = -1) {
    for (const StoredControl& c : storedControls())
        if (c.name == name && c.index == index)
            return &c;
    return nullptr;
}
} // namespace

class TestStoredDesign : public QObject {
    Q_OBJECT
  private slots:
    void namesAndRoles();
    void everyLabelInsideTheArrangement();
    void cellPlaces_data();
    void cellPlaces();
    void panelsFollowTheGridRule();
    void headers();
};

// Stored names stay what scripts and screen readers know: unique object names,
// Label1 ... Label114, each role on one control, each panel's controls present.
void TestStoredDesign::namesAndRoles() {
    QSet<QString> names, objectNames;
    QList<Role> roles;
    for (const StoredControl& c : storedControls()) {
        names.insert(c.name);
        QVERIFY2(!objectNames.contains(c.objectName()), qPrintable(c.objectName()));
        objectNames.insert(c.objectName());
        if (c.role != Role::None) {
            QVERIFY2(!roles.contains(c.role), qPrintable(c.objectName()));
            roles << c.role;
        }
    }
    QCOMPARE(roles.size(), int(Role::BannerTimer));
    for (int n = 1; n <= 114; ++n)
        QVERIFY2(names.contains(QStringLiteral("Label%1").arg(n)), qPrintable(QString::number(n)));
    for (const MonthLayout& m : monthLayouts()) {
        QVERIFY(find(m.title) && find(m.timer) && find(m.cells, kCellsPerMonth - 1));
        QVERIFY(!find(m.cells, kCellsPerMonth));
    }
    QVERIFY(objectNames.contains(QStringLiteral("Label10(5)")));
    // The link line shows the host of the one site address.
    QCOMPARE(find("Label2")->caption, QStringLiteral("www.flagmarin.ru"));
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

void TestStoredDesign::cellPlaces_data() {
    QTest::addColumn<QString>("array");
    QTest::addColumn<int>("index");
    QTest::addColumn<QPointF>("place");
    QTest::newRow("January cell 7") << "Label10" << 7 << QPointF(960, 1560);
    QTest::newRow("March cell 7, even columns") << "Label30" << 7 << QPointF(10560, 1560);
    QTest::newRow("December cell 35") << "Label111" << 35 << QPointF(15000, 8760);
    QTest::newRow("November cell 36, even columns") << "Label102" << 36 << QPointF(12000, 9000);
    QTest::newRow("August cell 0") << "Label75" << 0 << QPointF(13320, 6480);
}

void TestStoredDesign::cellPlaces() {
    QFETCH(QString, array);
    QFETCH(int, index);
    QFETCH(QPointF, place);
    const StoredControl* c = find(array, index);
    QVERIFY(c);
    QCOMPARE(QPointF(c->left, c->top), place);
    QCOMPARE(c->caption, QString::number(index + 1));
    QCOMPARE(c->height, 195.0f);
    QCOMPARE(c->width, index + 1 < 10 ? 120.0f : 225.0f);
}

// The cells of every panel form 7 rows 240 twips apart, Monday on top, with
// the weekday header of each row 360 twips to the left of the first column.
void TestStoredDesign::panelsFollowTheGridRule() {
    for (const MonthLayout& m : monthLayouts()) {
        for (int i = 0; i < kCellsPerMonth; ++i) {
            const StoredControl* cell = find(m.cells, i);
            QVERIFY(cell);
            QCOMPARE(cell->top, m.y0 + 240.0f * (i % 7));
            const StoredControl* header = find(m.headers[i % 7]);
            QVERIFY(header);
            QCOMPARE(header->top, cell->top);
            QCOMPARE(header->left, m.x0 - 360);
            const bool black = m.month == 1 || m.month >= 9;
            QCOMPARE(cell->foreColor.has_value(), black);
        }
        QVERIFY(!find(m.cells, 37));
        const StoredControl* title = find(m.title);
        QCOMPARE(m.y0 - title->top, m.month == 8 ? 480.0f : 360.0f);
    }
}

void TestStoredDesign::headers() {
    const QStringList days = {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};
    // Labels listed by number, as the panels number them.
    QCOMPARE(find("Label3")->caption, days[0]);
    QCOMPARE(find("Label13")->caption, days[6]);
    QCOMPARE(find("Label19")->caption, days[0]);
    QCOMPARE(find("Label59")->caption, days[0]);
    QCOMPARE(find("Label82")->caption, days[1]);
    QCOMPARE(find("Label79")->caption, days[4]);
    QCOMPARE(find("Label18")->caption, days[1]);
    QCOMPARE(find("Label110")->caption, days[6]);
    int headers = 0;
    for (const StoredControl& c : storedControls())
        if (c.kind == ControlKind::Label && days.contains(c.caption)) {
            ++headers;
            QCOMPARE(c.foreColor.value_or(1), colours::brown);
        }
    QCOMPARE(headers, 84);
}

QTEST_APPLESS_MAIN(TestStoredDesign)
#include "tst_storeddesign.moc"
