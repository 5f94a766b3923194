#pragma once

#include "widgets/LeftClick.h"

#include <QObject>
#include <functional>

class QWidget;

namespace navcal::app {

// What ends the saver from a window of its own: a key that writes a
// character, or a left click (press and release) on the window's own
// background rather than on a control. Other keys and buttons do nothing.
class ExitPolicy : public QObject {
  public:
    // Watches `window`'s input from now on and calls `end` when the saver is
    // to end; lives as long as the window.
    ExitPolicy(QWidget* window, std::function<void()> end);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* m_window;
    std::function<void()> m_end;
    widgets::LeftClick m_backgroundClick;
};

} // namespace navcal::app
