// The yardstick: a frameless full-screen Qt window that shows nothing but a
// clock label refreshed once a second. What it costs to start, to hold in
// memory and to keep ticking is what any Qt widget program costs at least.

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTime>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    // Without a window manager a full-screen request alone leaves the window
    // small: it is given the screen as the saver gives itself.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->geometry());
    // A label of its own: a tick repaints the clock's rectangle, not the screen.
    QLabel clock(&window);
    QFont font = clock.font();
    font.setPointSize(24);
    clock.setFont(font);
    clock.setAlignment(Qt::AlignCenter);
    clock.setText(QStringLiteral("00:00:00"));
    clock.resize(clock.sizeHint() * 1.2);
    clock.move(window.width() / 2 - clock.width() / 2, window.height() / 2 - clock.height() / 2);
    clock.clear();
    QTimer tick;
    tick.setInterval(1000);
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, &clock,
                     [&clock] { clock.setText(QTime::currentTime().toString(u"HH:mm:ss")); });
    window.showFullScreen();
    tick.start();
    return application.exec();
}
