// The clock label: its text in the locale's time format and its ticking in
// step with the wall clock.

#include "app/CalendarWindow.h"
#include "extras/ClockDisplay.h"
#include "support/TestServices.h"

#include <QElapsedTimer>
#include <QtTest>

using navcal::extras::clockFormat;
using navcal::extras::clockText;

class TestClock : public QObject {
    Q_OBJECT
  private slots:
    void textFollowsTheLocale_data();
    void textFollowsTheLocale();
    void noLocaleShowsAZoneName();
    void blankForTheFirstSecondThenTicks();
    void wholeTextShownAboutTheCentre_data();
    void wholeTextShownAboutTheCentre();
    void largeGlyphsLookAsQtDrawsThem_data();
    void largeGlyphsLookAsQtDrawsThem();
};

void TestClock::textFollowsTheLocale_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text");
    const QTime afternoon(14, 5, 33);
    QTest::newRow("ru_RU") << "ru_RU" << afternoon << "14:05:33";
    QTest::newRow("ru_RU morning") << "ru_RU" << QTime(9, 0, 7) << "09:00:07";
    QTest::newRow("en_US 12-hour") << "en_US" << afternoon << "2:05:33 PM";
    QTest::newRow("en_US midnight") << "en_US" << QTime(0, 0, 0) << "12:00:00 AM";
    QTest::newRow("fi_FI dots") << "fi_FI" << afternoon << "14.05.33";
}

void TestClock::textFollowsTheLocale() {
    QFETCH(QString, locale);
    QFETCH(QTime, time);
    QFETCH(QString, text);
    QCOMPARE(clockText(time, QLocale(locale)), text);
}

void TestClock::noLocaleShowsAZoneName() {
    // Whatever the locale writes around its time-zone name, the clock keeps
    // the rest of the long time text and drops the name.
    const QTime time(14, 5, 33);
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    QVERIFY(locales.size() > 100);
    for (const QLocale& locale : locales) {
        const QString text = clockText(time, locale);
        const QString zone = locale.toString(time, QStringLiteral("t"));
        const QString full = locale.toString(time, QLocale::LongFormat);
        const QString where =
            locale.name() + QLatin1Char(' ') + locale.timeFormat(QLocale::LongFormat);
        QVERIFY2(!text.isEmpty() && text == text.trimmed(), qPrintable(where));
        QVERIFY2(full.contains(text), qPrintable(where + QLatin1String(": ") + text));
        QVERIFY2(zone.isEmpty() || !text.contains(zone), qPrintable(where));
        // Seconds are always shown.
        QVERIFY2(clockText(QTime(14, 5, 34), locale) != text, qPrintable(where));
    }
}

void TestClock::blankForTheFirstSecondThenTicks() {
    navcal::test::TestWindow w(QDate(2026, 2, 23));
    auto& form = w.loaded();
    auto* label = form.controls().roles().clock;
    // When the first second came: a busy machine can only make it later.
    QElapsedTimer sinceStart;
    sinceStart.start();
    w.saver->startHeartbeat();
    QVERIFY(label->caption().isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(!label->caption().isEmpty(), 10000);
    QVERIFY2(sinceStart.elapsed() >= 900, qPrintable(QString::number(sinceStart.elapsed())));
    QCOMPARE(label->caption(), QStringLiteral("12:00:00"));
    // The next second follows.
    w.clock.advanceMs(1000);
    QTRY_COMPARE_WITH_TIMEOUT(label->caption(), QStringLiteral("12:00:01"), 10000);
}

void TestClock::wholeTextShownAboutTheCentre_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("24-hour") << QLocale(QLocale::Russian, QLocale::Russia);
    QTest::newRow("12-hour with AM/PM") << QLocale(QLocale::English, QLocale::UnitedStates);
}

// A clock that showed "10:00:00 A" hid half of what the locale asks for.
void TestClock::wholeTextShownAboutTheCentre() {
    QFETCH(QLocale, locale);
    navcal::test::TestWindow w(QDate(2026, 2, 23), QSize(1024, 768), locale);
    w.clock.set(QDateTime(QDate(2026, 2, 23), QTime(22, 17, 58)));
    auto& form = w.loaded();
    auto* label = form.controls().roles().clock;
    const QRect stored = label->geometry();
    w.saver->clockDisplay().show(w.clock.now());
    const QString text = label->caption();
    QVERIFY(!text.isEmpty());
    const int inked = qCeil(QFontMetricsF(label->font()).horizontalAdvance(text));
    QVERIFY2(label->width() >= inked, qPrintable(text));
    // A time that fits keeps the stored width (and the stored look).
    QCOMPARE(label->width() > stored.width(), inked > stored.width());
    QVERIFY(qAbs(label->geometry().center().x() - stored.center().x()) <= 1);
}

void TestClock::largeGlyphsLookAsQtDrawsThem_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QLocale>("locale");
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QTest::newRow("1024x768: glyphs Qt keeps") << QSize(1024, 768) << 1.0 << russian;
    QTest::newRow("3840x2160") << QSize(3840, 2160) << 1.0 << russian;
    QTest::newRow("1920x1080 at twice the pixels") << QSize(1920, 1080) << 2.0 << russian;
    QTest::newRow("2560x1440 at 1.5 times") << QSize(2560, 1440) << 1.5 << russian;
    QTest::newRow("3840x2160, read right to left")
        << QSize(3840, 2160) << 1.0 << QLocale(QLocale::Arabic, QLocale::Egypt);
}

// The clock's glyphs drawn from pictures made once must stand where Qt
// would fill them, in the same colour and weight.
void TestClock::largeGlyphsLookAsQtDrawsThem() {
    QFETCH(QSize, screen);
    QFETCH(qreal, ratio);
    QFETCH(QLocale, locale);
    navcal::test::TestWindow w(QDate(2026, 2, 23), screen, locale);
    w.clock.set(QDateTime(QDate(2026, 2, 23), QTime(20, 48, 53)));
    auto& form = w.loaded();
    auto* label = form.controls().roles().clock;
    w.saver->clockDisplay().show(w.clock.now());
    auto drawn = [&](bool pictures) {
        label->setKeepsLargeGlyphs(pictures);
        QImage image(label->size() * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        label->render(&image);
        return image;
    };
    const QImage byQt = drawn(false);
    const QImage fromPictures = drawn(true);
    if (screen == QSize(1024, 768)) {
        QCOMPARE(fromPictures, byQt);
        return;
    }
    // Ink: how far each pixel is from the white beneath, per channel.
    struct Ink {
        double red = 0, blue = 0, x = 0, y = 0;
    };
    auto inkOf = [](const QImage& image) {
        Ink ink;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                const double red = 255 - qRed(p);
                ink.red += red;
                ink.blue += 255 - qBlue(p);
                ink.x += red * x;
                ink.y += red * y;
            }
        ink.x /= ink.red;
        ink.y /= ink.red;
        return ink;
    };
    const Ink a = inkOf(byQt), b = inkOf(fromPictures);
    QVERIFY(a.red > 0);
    QVERIFY2(qAbs(b.red - a.red) < 0.01 * a.red && qAbs(b.blue - a.blue) < 0.01 * a.blue,
             qPrintable(QStringLiteral("ink %1 against %2").arg(b.red).arg(a.red)));
    QVERIFY2(qAbs(b.x - a.x) < 0.5 && qAbs(b.y - a.y) < 0.5,
             qPrintable(QStringLiteral("centre of ink (%1, %2) against (%3, %4)")
                            .arg(b.x)
                            .arg(b.y)
                            .arg(a.x)
                            .arg(a.y)));
}

QTEST_MAIN(TestClock)
#include "tst_clock.moc"
