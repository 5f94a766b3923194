#pragma once

#include "design/StoredDesign.h"
#include "design/Twips.h"

#include <QWidget>
#include <algorithm>
#include <cmath>

namespace navcal::widgets {

// A control of the stored design placed in twips: keeps Left, Top, Width and
// Height as float, exactly as the start-up arithmetic leaves them (half twips
// happen), and maps them to whole pixels for Qt at the arrangement's scale,
// which the control's maker holds and deletes the control before it goes.
template <class QtBase> class TwipPlaced : public QtBase {
  public:
    TwipPlaced(const design::StoredControl& control, const design::TwipScale& scale,
               QWidget* parent)
        : QtBase(parent), m_left(control.left), m_top(control.top), m_width(control.width),
          m_height(control.height), m_scale(scale) {
        this->setObjectName(control.objectName());
        this->setFocusPolicy(Qt::NoFocus);
    }

    float left() const { return m_left; }
    float top() const { return m_top; }
    float twipWidth() const { return m_width; }
    float twipHeight() const { return m_height; }
    const design::TwipScale& scale() const { return m_scale; }

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
        m_width = m_scale.twips(width);
        m_height = m_scale.twips(height);
    }
    // A size in pixels of the unscaled design (a picture's own size): it
    // grows and shrinks with the arrangement.
    void setDesignPixelSize(double width, double height) {
        m_width = m_scale.designTwips(width);
        m_height = m_scale.designTwips(height);
    }

    void applyGeometry() {
        const QRect pixels =
            design::TwipBox{m_left, m_top, m_width, m_height}.pixels(m_scale.twipsPerPixel());
        this->setGeometry(pixels);
    }

  private:
    float m_left, m_top, m_width, m_height;
    const design::TwipScale& m_scale;
};

} // namespace navcal::widgets
