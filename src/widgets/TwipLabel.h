#pragma once

#include "design/StoredDesign.h"
#include "widgets/GlyphMasks.h"
#include "widgets/LeftClick.h"
#include "widgets/TwipPlaced.h"

#include <QLabel>
#include <memory>

namespace navcal::widgets {

// A label of the stored design: caption, colour, frame and tooltip as the
// handlers address them, placed in twips.
class TwipLabel : public TwipPlaced<QLabel> {
    Q_OBJECT
  public:
    TwipLabel(const design::StoredControl& control, const design::TwipScale& scale,
              QWidget* parent);

    void setCaption(const QString& caption);

    void setColour(design::Colour colour);

    // A label of fixed width whose caption no longer fits (a 12-hour clock
    // with its "AM") widens about its centre; one that fits keeps its width.
    void widenToCaption();

    // The arrangement's scale has changed: font and size follow it, the
    // place in twips stays.
    void rescale();

    // For a caption rewritten every second: glyphs too large for Qt to keep
    // are drawn from pictures made once (a one-line caption only).
    void setKeepsLargeGlyphs(bool keep);

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void fitToCaption();
    void applyColour();

    design::Colour m_colour;
    bool m_autoSize;
    design::StoredControl m_stored;
    std::unique_ptr<GlyphMasks> m_largeGlyphs;
    LeftClick m_click;
};

// The size in pixels of a label that sizes itself: its caption's widest line
// ("\r\n" breaks lines) and its lines' height, rounded up, plus `frame`
// pixels for both sides of its frame. An empty caption or line measures as
// one space.
QSize captionBox(const QFont& font, const QString& caption, int frame);

} // namespace navcal::widgets
