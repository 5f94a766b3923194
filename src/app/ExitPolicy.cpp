#include "app/ExitPolicy.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace navcal::app {

ExitPolicy::ExitPolicy(QWidget* window, std::function<void()> end)
    : QObject(window), m_window(window), m_end(std::move(end)) {
    window->installEventFilter(this);
}

bool ExitPolicy::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        // Shift, Ctrl and the like alone write nothing.
        if (static_cast<QKeyEvent*>(event)->text().isEmpty())
            return false;
        m_end();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // Reached only when no control took the press: the background.
        m_backgroundClick.press(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseButtonRelease: {
        auto* release = static_cast<QMouseEvent*>(event);
        if (m_backgroundClick.release(release, !m_window->childAt(release->position().toPoint())))
            m_end();
        return true;
    }
    default:
        return false;
    }
}

} // namespace navcal::app
