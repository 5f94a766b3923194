#pragma once

#include <QMouseEvent>
#include <utility>

namespace navcal::widgets {

// A left press and a left release over the same target make a click. Every
// press and release is taken, so that one meant for a control never reaches
// the window behind it, where it would end the saver.
class LeftClick {
  public:
    // `onTarget`: the press landed on what can be clicked.
    void press(QMouseEvent* event, bool onTarget = true) {
        event->accept();
        m_pressed = onTarget && event->button() == Qt::LeftButton;
    }
    // True when the release completes a click over the target.
    bool release(QMouseEvent* event, bool overTarget) {
        event->accept();
        if (event->button() != Qt::LeftButton || !std::exchange(m_pressed, false))
            return false;
        return overTarget;
    }
    // The second press of a left double click, true for a left one; with
    // `pressAgain` its release is a click as well.
    bool doubleClick(QMouseEvent* event, bool pressAgain) {
        event->accept();
        if (event->button() != Qt::LeftButton)
            return false;
        m_pressed = pressAgain;
        return true;
    }

  private:
    bool m_pressed = false;
};

} // namespace navcal::widgets
