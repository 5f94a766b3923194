#include "app/Form1.h"

#include "app/BackgroundPicture.h"
#include "banner/Banner.h"
#include "banner/ClockDisplay.h"
#include "calendar/CalendarRules.h"
#include "extras/Decorations.h"
#include "extras/Music.h"
#include "extras/WebLink.h"
#include "layout/Pointers.h"
#include "panels/MonthPanels.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

namespace navcal::app {

using layout::TwipLabel;

namespace {

double logicalTwipsPerPixel() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return twipsPerPixelForDpi(screen ? screen->logicalDotsPerInchX() : 96.0);
}

} // namespace

double twipsPerPixelForDpi(double dpi) {
    // The DPI comes from the environment (QT_FONT_DPI) or the display: an
    // absurd one would overflow every size computed from it.
    if (!(dpi > 0))
        return 15.0;
    return 1440.0 / std::clamp(dpi, kMinDpi, kMaxDpi);
}

Form1::Form1(Form1Services services, QWidget* parent)
    : QWidget(parent), m_services(std::move(services)), m_twipsPerPixel(logicalTwipsPerPixel()),
      m_palette(*m_services.random) {
    if (!m_services.endProgram)
        m_services.endProgram = [](int code) { QCoreApplication::exit(code); };
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowIcon(layout::lifebuoyIcon());
    setFocusPolicy(Qt::StrongFocus);
    // The stored client area; start-up sizes the window to the screen.
    resize(int(layout::kDesignWidth / m_twipsPerPixel),
           int(layout::kDesignHeight / m_twipsPerPixel));
    QPalette p = palette();
    p.setColor(QPalette::Window, QGuiApplication::palette().color(QPalette::Button));
    setPalette(p);
    setAutoFillBackground(false);

    const QScreen* primary = QGuiApplication::primaryScreen();
    if (m_services.screenPixels)
        m_screenGeometry = QRect(QPoint(0, 0), *m_services.screenPixels);
    else
        m_screenGeometry = primary ? primary->geometry() : QRect(0, 0, 1024, 768);
    // The stored arrangement is scaled to fill the screen; the screen's size
    // is then measured in the design's twips, so the start-up arithmetic
    // centres the scaled arrangement and never pushes it off the screen.
    m_scale = layout::TwipScale::fitting(m_screenGeometry.size(), m_twipsPerPixel);
    m_screenWidth = float(m_screenGeometry.width() * m_scale.twipsPerPixel());
    m_screenHeight = float(m_screenGeometry.height() * m_scale.twipsPerPixel());

    m_controls = std::make_unique<layout::Controls>(this, m_scale);

    m_panels = std::make_unique<panels::MonthPanels>(*m_controls, *m_services.clock, m_palette,
                                                     m_services.locale,
                                                     [this] { return LeapYear(currentYear); });
    m_banner = std::make_unique<banner::Banner>(*m_controls, *m_services.clock, m_palette,
                                                m_screenWidth, TodayDate);
    m_clockDisplay = std::make_unique<banner::ClockDisplay>(
        m_controls->label(QStringLiteral("Label12")), m_controls->timer(QStringLiteral("Timer13")),
        *m_services.clock, m_services.locale);
    m_music = std::make_unique<extras::Music>(*m_services.multimedia, m_services.windowsFolder);
    m_webLink = std::make_unique<extras::WebLink>(*m_services.opener, m_services.programFolder,
                                                  QUrl(layout::siteAddress()),
                                                  [this] { m_services.endProgram(0); });
    m_decorations = std::make_unique<extras::Decorations>(*m_controls, m_palette, this);
    wireHandlers();
}

Form1::~Form1() = default;

const QString& Form1::MusicPath() const {
    return m_music->MusicPath();
}

QPointF Form1::labelOffset() const {
    return {(m_screenWidth - layout::kArrangementWidth) / 2.0f,
            (m_screenHeight - layout::kArrangementHeight) / 2.0f};
}

void Form1::load() {
    // Each step stands on its own: one that cannot be done is skipped.
    setWindowState(Qt::WindowNoState);
    loadBackground();
    setGeometry(m_screenGeometry);
    placeControls();
    m_services.random->seed(quint64(m_services.clock->now().toMSecsSinceEpoch()));
    TodayDate = m_services.clock->today();
    m_panels->resetCounters();
    m_music->start();
}

void Form1::startTimers() {
    for (int month = 1; month <= 12; ++month)
        m_controls->timer(QStringLiteral("Timer%1").arg(month))->start();
    m_controls->timer(QStringLiteral("Timer14"))->start();
    m_clockDisplay->start();
}

void Form1::loadBackground() {
    layout::PictureBox* pctFon = m_controls->pctFon();
    // No Windows folder, no picture: an empty folder would make the name relative.
    if (m_services.windowsFolder.isEmpty())
        return;
    const qint64 screenPixels = qint64(m_screenGeometry.width()) * m_screenGeometry.height();
    if (const auto picture = loadBackgroundPicture(
            QDir(m_services.windowsFolder).filePath(QStringLiteral("1.jpg")), screenPixels))
        pctFon->setPicture(*picture);
    m_scaledBackground = QPixmap();
}

void Form1::placeControls() {
    const float sw = m_screenWidth;
    // Images are centred across the screen.
    for (layout::ImageControl* image : m_controls->allImages())
        image->setLeft(sw / 2.0f - image->twipWidth() / 2.0f);
    // Every label moves by the offset that centres the stored arrangement.
    const float dx = (sw - layout::kArrangementWidth) / 2.0f;
    const float dy = (m_screenHeight - layout::kArrangementHeight) / 2.0f;
    for (TwipLabel* label : m_controls->allLabels())
        label->moveTwips(label->left() + dx, label->top() + dy);

    auto label = [this](const char* name) { return m_controls->label(QString::fromLatin1(name)); };
    auto centre = [sw](TwipLabel* l) { l->setLeft(sw / 2.0f - l->twipWidth() / 2.0f); };
    centre(label("Label1"));
    centre(label("Label2"));
    centre(label("Label112"));
    centre(label("Label12"));
    label("Label12")->setTop(label("Label82")->top());
    centre(label("Label114"));
    label("Label114")->setTop(label("Label79")->top());
    auto* image1 = m_controls->image(QStringLiteral("Image1"));
    auto* image2 = m_controls->image(QStringLiteral("Image2"));
    auto* image3 = m_controls->image(QStringLiteral("Image3"));
    image1->setTop(label("Label21")->top() - 25);
    image3->setTop(label("Label18")->top());
    image2->setTop(label("Label85")->top() - image2->twipHeight());
}

bool Form1::LeapYear(qint16& year) {
    const QDate today = m_services.clock->today();
    currentYear = qint16(today.year());
    // The fill passes the current-year variable itself, so the test always
    // concerns today's year once it has been stored above.
    const bool leap = calendar::isLeapYear(year);
    m_controls->label(QStringLiteral("Label114"))
        ->setCaption(calendar::dateLine(today, m_services.locale));
    return leap;
}

void Form1::wireHandlers() {
    using layout::ImageControl;
    for (int month = 1; month <= 12; ++month) {
        const layout::MonthLayout& m = layout::monthLayouts().at(month - 1);
        connect(m_controls->timer(m.timer), &QTimer::timeout, m_panels.get(),
                [this, month] { m_panels->fillTick(month); });
        connect(m_controls->label(m.title), &TwipLabel::clicked, m_panels.get(),
                [this, month] { m_panels->titleClicked(month); });
    }
    connect(m_controls->image(QStringLiteral("Image3")), &ImageControl::clicked, m_panels.get(),
            [this] { m_panels->recolourHeaders(); });
    connect(m_controls->timer(QStringLiteral("Timer14")), &QTimer::timeout, m_banner.get(),
            [this] { m_banner->tick(); });
    connect(m_controls->label(QStringLiteral("Label113")), &TwipLabel::clicked, m_banner.get(),
            [this] { m_banner->clicked(); });
    connect(m_clockDisplay.get(), &banner::ClockDisplay::ticked, this, &Form1::onSecondTicked);
    connect(m_controls->image(QStringLiteral("Image1")), &ImageControl::clicked, m_music.get(),
            [this] { m_music->replay(); });
    connect(m_controls->image(QStringLiteral("Image1")), &ImageControl::doubleClicked, this,
            [this] { m_controls->image(QStringLiteral("Image1"))->setVisible(false); });
    connect(m_controls->label(QStringLiteral("Label2")), &TwipLabel::clicked, m_webLink.get(),
            [this] { m_webLink->follow(); });
}

void Form1::onSecondTicked(const QDateTime& now) {
    // A saver left running past midnight shows the new day.
    TodayDate = now.date();
    m_panels->followDate(TodayDate);
}

void Form1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage& picture = m_controls->pctFon()->picture();
    if (picture.isNull()) {
        painter.fillRect(rect(), palette().color(QPalette::Window));
        return;
    }
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (pixels.width() > picture.width() || pixels.height() > picture.height()) {
        // Enlarging: drawn straight from the source, only where it is being
        // painted. A scaled copy would add a second screen-size buffer beside
        // the window's own, doubling the memory on a large screen.
        m_scaledBackground = QPixmap();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), picture);
        return;
    }
    // Shrinking: scaled once per window size, to the screen's own pixels, so
    // that repainting a label does not rescale.
    if (m_scaledBackground.size() != pixels || m_scaledBackground.devicePixelRatio() != ratio) {
        m_scaledBackground = QPixmap::fromImage(
            picture.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        m_scaledBackground.setDevicePixelRatio(ratio);
        ++m_backgroundScalings;
    }
    painter.drawPixmap(0, 0, m_scaledBackground);
}

void Form1::keyPressEvent(QKeyEvent* event) {
    // Only a key that produces a character ends the saver.
    if (!event->text().isEmpty()) {
        stopAndClose();
        return;
    }
    event->ignore();
}

void Form1::mousePressEvent(QMouseEvent* event) {
    // Reached only when no control took the press: the background.
    m_backgroundPressed = event->button() == Qt::LeftButton;
    event->accept();
}

void Form1::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton && m_backgroundPressed) {
        m_backgroundPressed = false;
        if (!childAt(event->position().toPoint()))
            stopAndClose();
    }
}

void Form1::stopAndClose() {
    m_music->stop();
    close();
}

void Form1::closeEvent(QCloseEvent* event) {
    // Unload: whatever closed the window, the music stops and the program ends.
    event->accept();
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_music->stop();
    for (QTimer* timer : m_controls->allTimers())
        timer->stop();
    m_services.endProgram(0);
}

} // namespace navcal::app
