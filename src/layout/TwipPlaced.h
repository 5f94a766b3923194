#pragma once

#include "layout/StoredDesign.h"

#include <QWidget>
#include <algorithm>
#include <cmath>

namespace navcal::layout {

// How the stored design's twips meet the screen's pixels. The whole
// arrangement is scaled by one factor so that it fills the screen; every
// position stays in the design's twips and only the step to pixels scales.
struct TwipScale {
    double screenTwipsPerPixel = 15.0; // 1440 / the screen's dots per inch
    double factor = 1.0;

    // Design twips per pixel on the screen: the one twip-to-pixel step.
    double twipsPerPixel() const { return screenTwipsPerPixel / factor; }
    // The design's one-pixel frame, as thick as the arrangement is scaled.
    int borderPixels() const { return std::max(1, int(std::lround(factor))); }

    // The largest factor at which the stored arrangement fits on a screen of
    // `pixels`; 1 on a 1024 x 768 screen at 96 dots per inch.
    static TwipScale fitting(QSize pixels, double screenTwipsPerPixel) {
        const double w = pixels.width() * screenTwipsPerPixel / double(kArrangementWidth);
        const double h = pixels.height() * screenTwipsPerPixel / double(kArrangementHeight);
        const double factor = std::min(w, h);
        // A screen that reports no size keeps the design's own size.
        return {screenTwipsPerPixel, std::isfinite(factor) && factor > 0 ? factor : 1.0};
    }
};

// A place in the design's twips: Left, Top, Width and Height as float, exactly
// as the start-up arithmetic leaves them (half twips happen).
struct TwipBox {
    float left = 0, top = 0, width = 0, height = 0;

    // The one step to whole pixels.
    QRect pixels(double twipsPerPixel) const {
        const double tpp = twipsPerPixel;
        return QRect(int(std::lround(left / tpp)), int(std::lround(top / tpp)),
                     int(std::lround(width / tpp)), int(std::lround(height / tpp)));
    }
};

// A control of the stored design placed in twips: keeps Left, Top, Width and
// Height as float, exactly as the start-up arithmetic leaves them (half twips
// happen), and maps them to whole pixels for Qt.
template <class QtBase> class TwipPlaced : public QtBase {
  public:
    TwipPlaced(const StoredControl& control, TwipScale scale, QWidget* parent)
        : QtBase(parent), m_left(control.left), m_top(control.top), m_width(control.width),
          m_height(control.height), m_scale(scale), m_twipsPerPixel(scale.twipsPerPixel()) {
        this->setObjectName(control.objectName());
        this->setFocusPolicy(Qt::NoFocus);
    }

    float left() const { return m_left; }
    float top() const { return m_top; }
    float twipWidth() const { return m_width; }
    float twipHeight() const { return m_height; }
    double twipsPerPixel() const { return m_twipsPerPixel; }
    const TwipScale& scale() const { return m_scale; }

    void setLeft(float left) { moveTwips(left, m_top); }
    void setTop(float top) { moveTwips(m_left, top); }
    void moveTwips(float left, float top) {
        m_left = left;
        m_top = top;
        applyGeometry();
    }

  protected:
    // A new scale for the arrangement (the window moved to another screen):
    // the place in twips stays, the step to pixels changes.
    void setScale(TwipScale scale) {
        m_scale = scale;
        m_twipsPerPixel = scale.twipsPerPixel();
    }
    // A size in pixels, as the control's content measures, kept in twips.
    void setPixelSize(double width, double height) {
        m_width = float(width * m_twipsPerPixel);
        m_height = float(height * m_twipsPerPixel);
    }
    // A size in pixels of the unscaled design (a picture's own size): it
    // grows and shrinks with the arrangement.
    void setDesignPixelSize(double width, double height) {
        m_width = float(width * m_scale.screenTwipsPerPixel);
        m_height = float(height * m_scale.screenTwipsPerPixel);
    }

    void applyGeometry() {
        const QRect pixels = TwipBox{m_left, m_top, m_width, m_height}.pixels(m_twipsPerPixel);
        this->setGeometry(pixels);
    }

  private:
    float m_left, m_top, m_width, m_height;
    TwipScale m_scale;
    double m_twipsPerPixel;
};

} // namespace navcal::layout
