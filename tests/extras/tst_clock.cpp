// The clock label's text in the locale's time format (its ticking in step
// with the wall clock is the heartbeat's).

#include "extras/ClockDisplay.h"

#include <QtTest>

using navcal::extras::clockFormat;

class TestClock : public QObject {
    Q_OBJECT
  private slots:
    void textFollowsTheLocale_data();
    void textFollowsTheLocale();
    void noLocaleShowsAZoneName();
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
    QCOMPARE(QLocale(locale).toString(time, clockFormat(QLocale(locale))), text);
}

void TestClock::noLocaleShowsAZoneName() {
    // Whatever the locale writes around its time-zone name, the clock keeps
    // the rest of the long time text and drops the name.
    const QTime time(14, 5, 33);
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    QVERIFY(locales.size() > 100);
    for (const QLocale& locale : locales) {
        const QString text = locale.toString(time, clockFormat(locale));
        const QString zone = locale.toString(time, QStringLiteral("t"));
        const QString full = locale.toString(time, QLocale::LongFormat);
        const QString where =
            locale.name() + QLatin1Char(' ') + locale.timeFormat(QLocale::LongFormat);
        QVERIFY2(!text.isEmpty() && text == text.trimmed(), qPrintable(where));
        QVERIFY2(full.contains(text), qPrintable(where + QLatin1String(": ") + text));
        QVERIFY2(zone.isEmpty() || !text.contains(zone), qPrintable(where));
        // Seconds are always shown.
        QVERIFY2(locale.toString(QTime(14, 5, 34), clockFormat(locale)) != text, qPrintable(where));
    }
}

QTEST_MAIN(TestClock)
#include "tst_clock.moc"
