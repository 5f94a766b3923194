#pragma once

// Fakes for the services the window gets injected, shared by the tests.

#include "app/CalendarWindow.h"
#include "app/Saver.h"
#include "calendar/Clock.h"
#include "design/RandomPalette.h"
#include "design/StoredDesign.h"
#include "panels/MonthView.h"
#include "platform/MusicSink.h"
#include "platform/UrlOpener.h"
#include "widgets/ImageControl.h"
#include "widgets/TwipLabel.h"

#include <QAccessible>
#include <QApplication>
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

// The window's control that has `role`, found among its children under the
// name the stored design gives it.
template <class T> T* part(QWidget& window, design::Role role) {
    for (const design::StoredControl& control : design::storedControls())
        if (control.role == role)
            if (T* found = window.findChild<T*>(control.objectName()))
                return found;
    qFatal("The window has no control of role %d", int(role));
}

// A month's panel, known by the month's name on its title.
inline panels::MonthView* monthView(QWidget& window, int month) {
    const QString name = QLocale(QLocale::Russian).standaloneMonthName(month).toLower();
    for (panels::MonthView* view : window.findChildren<panels::MonthView*>())
        if (QAccessible::queryAccessibleInterface(view)
                ->child(0)
                ->text(QAccessible::Name)
                .toLower() == name)
            return view;
    qFatal("The window has no panel for month %d", month);
}

// The window's parts by what they are to a user.
struct Parts {
    explicit Parts(QWidget& window) : window(&window) {}
    panels::MonthView* month(int month) const { return monthView(*window, month); }

    QWidget* window;
    widgets::TwipLabel* credit = part<widgets::TwipLabel>(*window, design::Role::Credit);
    widgets::TwipLabel* siteAddress = part<widgets::TwipLabel>(*window, design::Role::SiteAddress);
    widgets::TwipLabel* clock = part<widgets::TwipLabel>(*window, design::Role::Clock);
    widgets::TwipLabel* title = part<widgets::TwipLabel>(*window, design::Role::Title);
    widgets::TwipLabel* banner = part<widgets::TwipLabel>(*window, design::Role::Banner);
    widgets::TwipLabel* dateLine = part<widgets::TwipLabel>(*window, design::Role::DateLine);
    widgets::ImageControl* seagull = part<widgets::ImageControl>(*window, design::Role::Seagull);
    widgets::ImageControl* ship = part<widgets::ImageControl>(*window, design::Role::Ship);
    widgets::ImageControl* flag = part<widgets::ImageControl>(*window, design::Role::Flag);
    widgets::PictureBox* background = part<widgets::PictureBox>(*window, design::Role::Background);
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
    // The saver's window, built with its parts (`saver`), not yet started.
    app::CalendarWindow& make() {
        const QWidgetList before = QApplication::topLevelWidgets();
        saver = std::make_unique<app::Saver>(services);
        // Its window, as the toolkit lists it among its top-level widgets.
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* form = qobject_cast<app::CalendarWindow*>(widget);
                form && !before.contains(form))
                window = form;
        if (!window)
            qFatal("The saver made no window");
        return *window;
    }
    // The saver (made now when it was not) started as the program starts
    // it, full screen: its first frame drawn and what waits for that frame
    // (the music) done; the heartbeat runs.
    app::CalendarWindow& shown() {
        app::CalendarWindow& form = saver ? *window : make();
        saver->runFullScreen();
        if (!QTest::qWaitForWindowExposed(&form))
            QTest::qFail("the window was not shown", __FILE__, __LINE__);
        // The offscreen platform's one screen is not the fixed screen: the
        // window stands where that screen would be, as when not full screen.
        form.showNormal();
        form.setGeometry(form.screenGeometry());
        form.repaint(); // now, if the first frame has not come yet
        QCoreApplication::processEvents();
        return form;
    }

    ManualClock clock;
    ScriptedRandom random;
    RecordingSink sink;
    RecordingOpener opener;
    QTemporaryDir folder;
    app::SaverServices services;
    std::vector<int> endCodes;
    std::unique_ptr<app::Saver> saver;
    app::CalendarWindow* window = nullptr; // the saver's, once made
};

} // namespace navcal::test
