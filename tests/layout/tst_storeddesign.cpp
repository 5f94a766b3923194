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
    void panelsFollowTheGridRule();
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

// The cells of every panel form 7 rows 240 twips apart, Monday on top,
// numbered in order; each row's weekday header stands 360 twips to the left
// of the first column, in brown.
void TestStoredDesign::panelsFollowTheGridRule() {
    const QStringList days = {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};
    for (const MonthLayout& m : monthLayouts()) {
        for (int i = 0; i < kCellsPerMonth; ++i) {
            const StoredControl* cell = find(m.cells, i);
            QVERIFY(cell);
            QCOMPARE(cell->top, m.y0 + 240.0f * (i % 7));
            QCOMPARE(cell->caption, QString::number(i + 1));
            const StoredControl* header = find(m.headers[i % 7]);
            QVERIFY(header);
            QCOMPARE(header->top, cell->top);
            QCOMPARE(header->left, m.x0 - 360);
            QCOMPARE(header->caption, days[i % 7]);
            QCOMPARE(header->foreColor.value_or(1), colours::brown);
        }
    }
}

QTEST_APPLESS_MAIN(TestStoredDesign)
#include "tst_storeddesign.moc"
