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
    QLabel clock;
    clock.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    clock.setAlignment(Qt::AlignCenter);
    QFont font = clock.font();
    font.setPointSize(24);
    clock.setFont(font);
    QTimer tick;
    tick.setInterval(1000);
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, &clock,
                     [&clock] { clock.setText(QTime::currentTime().toString(u"HH:mm:ss")); });
    // Without a window manager a full-screen request alone leaves the window
    // small: it is given the screen as the saver gives itself.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        clock.setGeometry(screen->geometry());
    clock.showFullScreen();
    tick.start();
    return application.exec();
}
