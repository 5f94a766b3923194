#include "app/Saver.h"

#include "app/CalendarWindow.h"
#include "app/ExitPolicy.h"
#include "app/Heartbeat.h"
#include "app/ScreenCovers.h"
#include "app/UserHolidays.h"
#include "banner/Banner.h"
#include "calendar/CalendarRules.h"
#include "calendar/Today.h"
#include "extras/ClockDisplay.h"
#include "extras/Decorations.h"
#include "extras/Music.h"
#include "extras/WebLink.h"
#include "panels/MonthPanels.h"
#include "platform/ErrorLine.h"
#include "platform/HostWindow.h"
#include "platform/SignalBridge.h"
#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QImage>
#include <QWindow>
#include <cstdlib>
#include <utility>

namespace navcal::app {

using design::siteAddress;

Saver::Saver(SaverServices services)
    : m_services(std::move(services)), m_palette(*m_services.random) {
    if (!m_services.endProgram)
        m_services.endProgram = [](int code) { QCoreApplication::exit(code); };
    m_window = std::make_unique<CalendarWindow>(m_services.dataFolders(), m_services.screenPixels);
    // Built while the window's background is still being decoded.
    const app::Roles& roles = m_window->controls().roles();
    m_today = std::make_unique<calendar::Today>(*m_services.clock);
    m_panels =
        std::make_unique<panels::MonthPanels>(roles.months, m_window->controls().fill(), *m_today,
                                              m_palette, m_services.locale, m_userHolidays);
    // The banner stands on the line of July's Monday header.
    const panels::MonthView* july = roles.month(7);
    m_banner = std::make_unique<banner::Banner>(
        roles.banner, [july] { return july->headerTop(0); }, *m_today, m_palette, m_userHolidays,
        m_window->screenWidth());
    m_clockDisplay = std::make_unique<extras::ClockDisplay>(roles.clock, m_services.locale);
    m_music = std::make_unique<extras::Music>(*m_services.music, m_services.dataFolders());
    m_webLink = std::make_unique<extras::WebLink>(*m_services.opener, m_services.programFolder,
                                                  QUrl(design::siteAddress()), [this] { end(); });
    m_decorations = std::make_unique<extras::Decorations>(roles.ship, m_palette, m_window.get());
    m_heartbeat = std::make_unique<Heartbeat>(
        *m_services.clock,
        Heartbeat::Steps{[this](const QDateTime& now) { m_clockDisplay->show(now); },
                         [this](const QDate& date) { m_today->observe(date); },
                         [this] { return !m_window->controls().fill().ended(); },
                         [this] { m_panels->fillTick(); }, [this] { m_banner->tick(); }},
        roles.fillMs, roles.firstSecondMs);
    wire();
}

Saver::~Saver() = default;

// Every click and tick of the window, in one place.
void Saver::wire() {
    using widgets::ImageControl;
    using widgets::TwipLabel;
    CalendarWindow* window = m_window.get();
    const app::Roles& roles = window->controls().roles();
    new ExitPolicy(window, [this] { end(); });
    connect(window, &CalendarWindow::unloading, this, [this] { end(); });
    connect(window, &CalendarWindow::fitted, m_banner.get(),
            [this](float width) { m_banner->setScreenWidth(width); });
    for (int month = 1; month <= 12; ++month)
        connect(roles.month(month), &panels::MonthView::titleClicked, m_panels.get(),
                [this, month] { m_panels->titleClicked(month); });
    connect(roles.flag, &ImageControl::clicked, m_panels.get(),
            [this] { m_panels->recolourHeaders(); });
    connect(roles.banner, &TwipLabel::clicked, m_banner.get(), [this] { m_banner->clicked(); });
    // A saver left running past midnight shows the new day: each beat reads
    // the date.
    connect(m_today.get(), &calendar::Today::dayChanged, this, [this] { newDay(); });
    connect(roles.seagull, &ImageControl::clicked, m_music.get(), [this] { m_music->replay(); });
    connect(roles.seagull, &ImageControl::doubleClicked, window,
            [seagull = roles.seagull] { seagull->setVisible(false); });
    connect(roles.siteAddress, &TwipLabel::clicked, m_webLink.get(),
            [this] { m_webLink->follow(); });
    for (TwipLabel* label : {roles.clock, roles.title, roles.dateLine})
        connect(label, &TwipLabel::clicked, m_decorations.get(),
                [this, label] { m_decorations->recolour(label); });
    extras::Decorations* decorations = m_decorations.get();
    connect(roles.ship, &ImageControl::pressed, decorations, &extras::Decorations::beginDrag);
    connect(roles.ship, &ImageControl::dragMoved, decorations, &extras::Decorations::pointerMoved);
    connect(roles.ship, &ImageControl::clicked, decorations, &extras::Decorations::shipClicked);
}

void Saver::end(const Ending& ending) {
    if (m_ending) {
        // The host's window gone while an ordinary end is under way: the
        // toolkit's clean-up must not reach it.
        if (ending.atOnce)
            std::_Exit(*m_ending);
        return;
    }
    m_ending = ending.code;
    // The covers and the music, if still waiting for the first frame, never
    // start.
    m_window->cancelAfterFirstFrame();
    if (!ending.line.isEmpty())
        platform::writeErrorLine(ending.line);
    m_heartbeat->stop();
    m_music->stop();
    // A window that is gone is not touched: the toolkit would report errors
    // on it.
    if (!ending.atOnce) {
        if (m_covers)
            m_covers->close();
        m_window->close();
    }
    if (m_services.lock)
        m_services.lock->release();
    if (ending.atOnce)
        std::_Exit(ending.code);
    m_services.endProgram(ending.code);
}

void Saver::readUserHolidays() {
    m_userHolidays = app::readUserHolidays(m_services.userFolder);
}

void Saver::loadFrame() {
    m_window->loadFrame();
    m_services.random->seed(quint64(m_services.clock->now().toMSecsSinceEpoch()));
    m_today->reset();
    readUserHolidays();
    m_panels->restartFills();
    showDate();
    m_window->afterFirstFrame([this] { m_music->start(); });
}

void Saver::showDate() {
    widgets::TwipLabel* line = m_window->controls().roles().dateLine;
    line->setCaption(calendar::dateLine(m_today->date(), m_services.locale));
    // A locale whose short date names the month ("5 Feb 2026") writes more
    // than the stored width holds: the line widens about its centre.
    line->widenToCaption();
}

void Saver::newDay() {
    // The user's holidays.txt first: an edit of the file shows on the next
    // day. The banner follows in the same beat, after the fill's first step.
    readUserHolidays();
    m_panels->restartFills();
    showDate();
}

void Saver::startHeartbeat() {
    m_heartbeat->start();
}

void Saver::drawStill(QImage& picture) {
    loadFrame();
    // The same beats in the same order as on the screen: the banner's check
    // follows each fill step, so the last one sees the fill ended.
    do
        m_heartbeat->beat();
    while (!m_window->controls().fill().ended());
    m_window->controls().roles().clock->hide();
    m_window->render(&picture);
}

void Saver::runFullScreen() {
    // The first frame comes first; the music and the other monitors' covers
    // follow it.
    loadFrame();
    m_window->afterFirstFrame(
        [this] { m_covers = std::make_unique<ScreenCovers>(*m_window, [this] { end(); }); });
    m_window->showFullScreen();
    startHeartbeat();
}

void Saver::runInside(platform::HostWindow& host) {
    loadFrame();
    // The host keeps input, the lock and the end: the window takes no input
    // and follows the lent window's size.
    CalendarWindow& form = *m_window;
    form.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                        Qt::WindowDoesNotAcceptFocus);
    form.setFocusPolicy(Qt::NoFocus);
    form.winId();
    // The host's window stands for ours until the saver goes: ours, its
    // child, goes first.
    m_lentWindow.reset(QWindow::fromWinId(WId(host.id())));
    form.windowHandle()->setParent(m_lentWindow.get());
    connect(&host, &platform::HostWindow::resized, &form,
            [&form](QSize size) { form.fitToScreen(QRect(QPoint(0, 0), size)); });
    // Nothing of ours is left to save once the host's window is gone; ending
    // here keeps the toolkit from reporting errors on the vanished window.
    connect(&host, &platform::HostWindow::lost, this, [this](const QString& reason) {
        // A host that ends us sends the signal first and then drops its
        // window: that is an ordinary end, not a lost window.
        if (platform::SignalBridge::terminationArrived())
            end({.code = 0, .atOnce = true});
        else
            end({.code = platform::hostGoneExitCode(), .line = reason, .atOnce = true});
    });
    // Watched before the window takes the host's size: a size the host
    // changes from then on is followed, however late the window shows.
    host.watch();
    form.move(0, 0);
    form.resize(host.logicalSize());
    form.show();
    startHeartbeat();
}

} // namespace navcal::app
