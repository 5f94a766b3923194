#include "design/Fonts.h"
#include "support/TestServices.h"

#include <QAccessible>
#include <QFontInfo>
#include <QHelpEvent>
#include <QRawFont>
#include <QToolTip>
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
    design::installFontSubstitutes();
}

void TestForm::everyControlExistsByName() {
    TestWindow w;
    app::CalendarWindow& form = w.make();
    QCOMPARE(form.windowTitle(), QStringLiteral("Form1"));
    // Away from the screen's corner, so that window and screen places differ.
    form.move(37, 21);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.mapToGlobal(QPoint(0, 0)), QPoint(37, 21));
    // What a screen reader finds: every static text of the window, as
    // name, description and place on the screen.
    QMultiHash<QString, std::pair<QString, QRect>> read;
    const std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        if (node->role() == QAccessible::StaticText)
            read.insert(node->text(QAccessible::Name),
                        {node->text(QAccessible::Description), node->rect()});
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(&form));
    // Each label is one node, drawn on the window: 102 lines and titles, 444
    // day cells, which show their stored numbers before the fill, and the
    // three pictures.
    QCOMPARE(read.size(), 549);
    const QRect window(form.mapToGlobal(QPoint(0, 0)), form.size());
    for (const auto& [tip, place] : std::as_const(read))
        QVERIFY(window.contains(place));
    QCOMPARE(read.count(QStringLiteral("37")), 12);
    QCOMPARE(read.count(QStringLiteral("Вс")), 12);
    QCOMPARE(read.values(QStringLiteral("Январь")).size(), 1);
    QCOMPARE(read.value(QStringLiteral("www.flagmarin.ru")).first,
             QStringLiteral("Адрес сайта Морской интернет-клуб \"Флагмарин\" в Интернете"));
    QVERIFY(!form.controls().roles().background->isVisibleTo(&form));
}

void TestForm::autoSizeFollowsTheCaption() {
    TestWindow w;
    app::CalendarWindow& form = w.make();
    widgets::TwipLabel* banner = form.controls().roles().banner;
    const float oneLine = banner->twipHeight();
    banner->setCaption("a\r\nb");
    QVERIFY(banner->twipHeight() > 1.5f * oneLine);
}

void TestForm::pointers_data() {
    QTest::addColumn<QPoint>("at");       // in the window, at 1024x768 before start-up
    QTest::addColumn<QString>("picture"); // empty: the ordinary arrow
    QTest::addColumn<QString>("tip");     // empty: none is shown
    const QString lifebuoy = QStringLiteral(":/lifebuoy-32.png");
    QTest::newRow("month title") << QPoint(92, 86) << lifebuoy
                                 << "Все названия месяцев: щелчок мышки - выбор цвета шрифта "
                                    "дней месяца";
    QTest::newRow("banner") << QPoint(195, 455) << lifebuoy << "Выбор шрифта - щелчком мышки";
    QTest::newRow("ship") << QPoint(509, 659) << lifebuoy << "Отбуксируй меня на глубоководье!";
    QTest::newRow("seagull") << QPoint(341, 79) << ":/music-32.png"
                             << "1 щелчок мышки - музыку включу; 2 щелчка - прочь улечу!";
    QTest::newRow("credit line") << QPoint(622, 21) << ""
                                 << "Экранная заставка «Военно-морской календарь» создана для "
                                    "Морского интернет-клуба \"Флагмарин\" участниками клуба";
    QTest::newRow("day cell") << QPoint(50, 174) << ""
                              << "";
    QTest::newRow("weekday header") << QPoint(31, 110) << ""
                                    << "";
}

void TestForm::pointers() {
    QFETCH(QPoint, at);
    QFETCH(QString, picture);
    QFETCH(QString, tip);
    TestWindow w;
    app::CalendarWindow& form = w.make();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // The pointer and the tooltip over the control, moved there as a user
    // would, asked of whatever lies there.
    QTest::mouseMove(form.windowHandle(), at);
    QWidget* control = form.childAt(at);
    QVERIFY(control);
    QHelpEvent help(QEvent::ToolTip, control->mapFrom(&form, at), form.mapToGlobal(at));
    QApplication::sendEvent(control, &help);
    const auto shownTip = [] { return QToolTip::isVisible() ? QToolTip::text() : QString(); };
    QTRY_COMPARE(shownTip(), tip);
    QToolTip::hideText();
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
    const app::Roles& r = form.controls().roles();
    const QRawFont raw = QRawFont::fromFont(monthTitle ? r.month(1)->partFont(0) : r.title->font());
    QVERIFY(raw.isValid());
    for (const QChar c : monthTitle ? r.month(1)->look(0).caption : r.title->caption())
        if (c.isLetter())
            QVERIFY2(raw.supportsCharacter(c), qPrintable(QString(c) + " in " + raw.familyName()));
}

QTEST_MAIN(TestForm)
#include "tst_form.moc"
