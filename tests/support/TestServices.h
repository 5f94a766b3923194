#pragma once

// Fakes for the services the window gets injected, shared by the tests.

#include "app/Saver.h"
#include "calendar/Clock.h"
#include "design/RandomPalette.h"
#include "platform/MusicSink.h"
#include "platform/UrlOpener.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <memory>
#include <vector>

namespace navcal::test {

class ManualClock final : public calendar::Clock {
  public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2026, 12, 7), QTime(12, 0)))
        : m_now(std::move(start)) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime& now) { m_now = now; }
    void setDate(const QDate& date) { m_now = QDateTime(date, m_now.time()); }
    void advanceMs(qint64 ms) { m_now = m_now.addMSecs(ms); }

  private:
    QDateTime m_now;
};

// Gives the listed numbers in turn, then repeats the last one.
class ScriptedRandom final : public design::RandomSource {
  public:
    explicit ScriptedRandom(std::vector<double> values = {0.0}) : m_values(std::move(values)) {}
    void seed(quint64) override {}
    double next() override {
        const double v = m_values.at(std::min(m_next, m_values.size() - 1));
        ++m_next;
        return v;
    }
    void script(std::vector<double> values) {
        m_values = std::move(values);
        m_next = 0;
    }

  private:
    std::vector<double> m_values;
    size_t m_next = 0;
};

// Writes each call down as the multimedia command text it stands for.
class RecordingSink final : public platform::MusicSink {
  public:
    static QString playText(const QString& path) { return "play \"" + path + '"'; }
    static QString stopText(const QString& path) { return "stop \"" + path + '"'; }
    void play(const QString& path) override { commands << playText(path); }
    void stop(const QString& path) override { commands << stopText(path); }
    QStringList commands;
};

class RecordingOpener final : public platform::UrlOpener {
  public:
    void open(const QUrl& address) override { opened << address; }
    QList<QUrl> opened;
};

// A window with fakes in place, on a screen of the given size in pixels.
struct TestWindow {
    explicit TestWindow(QDate today = QDate(2026, 12, 7), QSize screen = QSize(1024, 768),
                        QLocale locale = QLocale(QLocale::Russian, QLocale::Russia))
        : clock(QDateTime(today, QTime(12, 0))) {
        services.clock = &clock;
        services.random = &random;
        services.music = &sink;
        services.opener = &opener;
        services.locale = locale;
        services.systemFolder = folder.path();
        services.programFolder = folder.path();
        services.screenPixels = screen;
        services.endProgram = [this](int code) { endCodes.push_back(code); };
    }
    // The saver's window, built with its parts (`saver`).
    app::CalendarWindow& make() {
        saver = std::make_unique<app::Saver>(services);
        return saver->window();
    }
    // The window after its start-up, not yet shown: its first frame's state;
    // the tests drive the ticks.
    app::CalendarWindow& loaded() {
        make();
        saver->loadFrame();
        return saver->window();
    }
    // The started window shown, its first frame drawn and what waits for that
    // frame (the music) done.
    app::CalendarWindow& shown() {
        loaded().show();
        if (!QTest::qWaitForWindowExposed(&saver->window()))
            QTest::qFail("the window was not shown", __FILE__, __LINE__);
        saver->window().repaint(); // now, if the first frame has not come yet
        QCoreApplication::processEvents();
        return saver->window();
    }

    ManualClock clock;
    ScriptedRandom random;
    RecordingSink sink;
    RecordingOpener opener;
    QTemporaryDir folder;
    app::SaverServices services;
    std::vector<int> endCodes;
    std::unique_ptr<app::Saver> saver;
};

} // namespace navcal::test
