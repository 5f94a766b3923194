#include "design/Fonts.h"
#include "support/TestServices.h"

#include <QFontInfo>
#include <QRawFont>
#include <QtTest>

using namespace navcal;
using navcal::test::TestWindow;

class TestForm : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void autoSizeFollowsTheCaption();
    void windowHasItsIcon();
    void cyrillicRendersWithRealGlyphs_data();
    void cyrillicRendersWithRealGlyphs();
};

void TestForm::initTestCase() {
    design::installFontSubstitutes();
}

void TestForm::autoSizeFollowsTheCaption() {
    TestWindow w;
    app::CalendarWindow& form = w.make();
    widgets::TwipLabel* banner = test::Parts(form).banner;
    const float oneLine = banner->twipHeight();
    banner->setCaption("a\r\nb");
    QVERIFY(banner->twipHeight() > 1.5f * oneLine);
}

// The icon the window manager and the task list show.
void TestForm::windowHasItsIcon() {
    TestWindow w;
    QVERIFY(!w.make().windowIcon().isNull());
}

void TestForm::cyrillicRendersWithRealGlyphs_data() {
    QTest::addColumn<bool>("monthTitle"); // one label of each face the design names
    QTest::newRow("title line, Times New Roman") << false;
    QTest::newRow("month title, MS Sans Serif") << true;
}

// The faces asked for by name may be missing; whatever replaces them must
// hold the Cyrillic letters, or the captions would show as boxes.
void TestForm::cyrillicRendersWithRealGlyphs() {
    QFETCH(bool, monthTitle);
    TestWindow w;
    app::CalendarWindow& form = w.make();
    const test::Parts r(form);
    const QRawFont raw = QRawFont::fromFont(monthTitle ? r.month(1)->partFont(0) : r.title->font());
    QVERIFY(raw.isValid());
    for (const QChar c : monthTitle ? r.month(1)->look(0).caption : r.title->text())
        if (c.isLetter())
            QVERIFY2(raw.supportsCharacter(c), qPrintable(QString(c) + " in " + raw.familyName()));
}

QTEST_MAIN(TestForm)
#include "tst_form.moc"
