#include "layout/Fonts.h"
#include "support/TestServices.h"

#include <QAccessible>
#include <QFontInfo>
#include <QRawFont>
#include <QtTest>

using namespace navcal;
using navcal::test::TestWindow;

class TestForm : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void everyControlExistsByName();
    void autoSizeFollowsTheCaption();
    void pointers_data();
    void pointers();
    void cyrillicRendersWithRealGlyphs_data();
    void cyrillicRendersWithRealGlyphs();
};

void TestForm::initTestCase() {
    layout::installFontSubstitutes();
}

void TestForm::everyControlExistsByName() {
    TestWindow w;
    app::Form1& form = w.make();
    QCOMPARE(form.objectName(), QStringLiteral("Form1"));
    const auto labels = form.findChildren<layout::TwipLabel*>();
    QCOMPARE(labels.size(), 546);
    for (const layout::StoredControl& stored : layout::storedControls()) {
        QObject* control = form.findChild<QObject*>(stored.objectName());
        QVERIFY2(control, qPrintable(stored.objectName()));
        if (auto* label = qobject_cast<layout::TwipLabel*>(control)) {
            QCOMPARE(label->caption(), stored.caption);
            QCOMPARE(label->toolTipText(), stored.toolTip);
            QVERIFY(!label->autoFillBackground());
            // A screen reader reads the caption as the name, the tooltip as
            // the description.
            QAccessibleInterface* read = QAccessible::queryAccessibleInterface(label);
            QCOMPARE(read->role(), QAccessible::StaticText);
            QCOMPARE(read->text(QAccessible::Name), stored.caption);
            QCOMPARE(read->text(QAccessible::Description), stored.toolTip);
        }
    }
    QVERIFY(!form.controls().roles().background->isVisibleTo(&form));
    QVERIFY(form.controls().cell("Label10", 36));
    QVERIFY(!form.controls().cell("Label10", 37));
}

void TestForm::autoSizeFollowsTheCaption() {
    TestWindow w;
    app::Form1& form = w.make();
    layout::TwipLabel* cell = form.controls().cell("Label10", 4);
    const float narrow = cell->twipWidth();
    cell->setCaption("25");
    QVERIFY(cell->twipWidth() > narrow);
    QCOMPARE(cell->left(), 960.0f - 240.0f + 0.0f); // column 0 of January stays put
    layout::TwipLabel* october = form.controls().label("Label85");
    october->setCaption("Октябрь и ноябрь");
    QCOMPARE(october->twipWidth(), 750.0f);
    layout::TwipLabel* banner = form.controls().label("Label113");
    const float oneLine = banner->twipHeight();
    banner->setCaption("a\r\nb");
    QVERIFY(banner->twipHeight() > 1.5f * oneLine);
}

void TestForm::pointers_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("picture"); // empty: the ordinary arrow
    QTest::newRow("month title") << "Label11"
                                 << ":/lifebuoy-32.png";
    QTest::newRow("banner") << "Label113"
                            << ":/lifebuoy-32.png";
    QTest::newRow("ship") << "Image2"
                          << ":/lifebuoy-32.png";
    QTest::newRow("seagull") << "Image1"
                             << ":/music-32.png";
    QTest::newRow("credit line") << "Label1"
                                 << "";
    QTest::newRow("day cell") << "Label10(4)"
                              << "";
}

void TestForm::pointers() {
    QFETCH(QString, name);
    QFETCH(QString, picture);
    TestWindow w;
    app::Form1& form = w.make();
    auto* control = form.findChild<QWidget*>(name);
    QVERIFY(control);
    if (picture.isEmpty()) {
        QVERIFY(!control->testAttribute(Qt::WA_SetCursor));
        return;
    }
    QCOMPARE(control->cursor().shape(), Qt::BitmapCursor);
    const QImage expected(picture);
    QVERIFY(!expected.isNull());
    const QImage shown =
        control->cursor().pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage wanted = expected.convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(shown.size(), wanted.size());
    // Premultiplying may round the soft edge by a step; the picture is the same.
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QColor a = shown.pixelColor(x, y), b = wanted.pixelColor(x, y);
            if (qAbs(a.alpha() - b.alpha()) > 3 ||
                (b.alpha() > 32 &&
                 (qAbs(a.red() - b.red()) > 8 || qAbs(a.green() - b.green()) > 8 ||
                  qAbs(a.blue() - b.blue()) > 8)))
                ++differing;
        }
    QCOMPARE(differing, 0);
    QVERIFY(!form.windowIcon().isNull());
}

void TestForm::cyrillicRendersWithRealGlyphs_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("title line, Times New Roman") << "Label112";
    QTest::newRow("credit line") << "Label1";
    QTest::newRow("month title, MS Sans Serif") << "Label11";
    QTest::newRow("weekday header") << "Label3";
}

// The faces asked for by name may be missing; whatever replaces them must
// hold the Cyrillic letters, or the captions would show as boxes.
void TestForm::cyrillicRendersWithRealGlyphs() {
    QFETCH(QString, name);
    TestWindow w;
    app::Form1& form = w.make();
    auto* label = form.findChild<layout::TwipLabel*>(name);
    QVERIFY(label);
    const QRawFont raw = QRawFont::fromFont(label->font());
    QVERIFY(raw.isValid());
    for (const QChar c : label->caption())
        if (c.isLetter())
            QVERIFY2(raw.supportsCharacter(c), qPrintable(QString(c) + " in " + raw.familyName()));
}

QTEST_MAIN(TestForm)
#include "tst_form.moc"
