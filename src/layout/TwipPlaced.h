#pragma once

#include "layout/StoredDesign.h"

#include <QMouseEvent>
#include <QWidget>
#include <cmath>

namespace navcal::layout {

// A control of the stored design placed in twips: keeps Left, Top, Width and
// Height as float, exactly as the start-up arithmetic leaves them (half twips
// happen), and maps them to whole pixels for Qt.
template <class QtBase> class TwipPlaced : public QtBase {
  public:
    TwipPlaced(const StoredControl& control, double twipsPerPixel, QWidget* parent)
        : QtBase(parent), m_left(control.left), m_top(control.top), m_width(control.width),
          m_height(control.height), m_twipsPerPixel(twipsPerPixel) {
        this->setObjectName(control.objectName());
        this->setFocusPolicy(Qt::NoFocus);
    }

    float left() const { return m_left; }
    float top() const { return m_top; }
    float twipWidth() const { return m_width; }
    float twipHeight() const { return m_height; }
    double twipsPerPixel() const { return m_twipsPerPixel; }

    void setLeft(float left) { moveTwips(left, m_top); }
    void setTop(float top) { moveTwips(m_left, top); }
    void moveTwips(float left, float top) {
        m_left = left;
        m_top = top;
        applyGeometry();
    }

  protected:
    // A size in pixels, as the control's content measures, kept in twips.
    void setPixelSize(double width, double height) {
        m_width = float(width * m_twipsPerPixel);
        m_height = float(height * m_twipsPerPixel);
    }

    // Click bookkeeping: a control takes its own mouse presses (a click that
    // reached the window would end the saver); a left press and a release
    // over the control make a click.
    void notePress(QMouseEvent* event) {
        event->accept();
        m_leftPressed = event->button() == Qt::LeftButton;
    }
    bool releaseClicks(QMouseEvent* event) {
        event->accept();
        if (event->button() != Qt::LeftButton || !m_leftPressed)
            return false;
        m_leftPressed = false;
        return this->rect().contains(event->position().toPoint());
    }
    // The second press of a double click; with `pressAgain` its release is a
    // click as well.
    bool noteDoubleClick(QMouseEvent* event, bool pressAgain) {
        event->accept();
        if (event->button() != Qt::LeftButton)
            return false;
        m_leftPressed = pressAgain;
        return true;
    }

    void applyGeometry() {
        const double tpp = m_twipsPerPixel;
        this->setGeometry(int(std::lround(m_left / tpp)), int(std::lround(m_top / tpp)),
                          int(std::lround(m_width / tpp)), int(std::lround(m_height / tpp)));
    }

  private:
    float m_left, m_top, m_width, m_height;
    double m_twipsPerPixel;
    bool m_leftPressed = false;
};

} // namespace navcal::layout
