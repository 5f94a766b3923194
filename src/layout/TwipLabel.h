#pragma once

#include "layout/StoredDesign.h"

#include <QLabel>

namespace navcal::layout {

// A label of the stored design: keeps its geometry in twips as float, exactly
// as the start-up arithmetic leaves it, and maps it to pixels for Qt.
class TwipLabel : public QLabel {
    Q_OBJECT
  public:
    TwipLabel(const ControlSpec& spec, double twipsPerPixel, QWidget* parent);

    const QString& storedName() const { return m_name; }
    int index() const { return m_index; }

    QString caption() const { return text(); }
    void setCaption(const QString& caption);

    Colour foreColor() const { return m_foreColor; }
    void setForeColor(Colour colour);

    int borderStyle() const { return m_borderStyle; }
    void setBorderStyle(int style);

    QString toolTipText() const { return toolTip(); }
    void setToolTipText(const QString& tip) { setToolTip(tip); }

    bool autoSize() const { return m_autoSize; }

    float left() const { return m_left; }
    float top() const { return m_top; }
    float twipWidth() const { return m_width; }
    float twipHeight() const { return m_height; }
    void setLeft(float left);
    void setTop(float top);
    void moveTwips(float left, float top);

    // Puts back the stored caption, colour, border and tooltip (not the place).
    void restoreStoredLook();

    double twipsPerPixel() const { return m_twipsPerPixel; }

  signals:
    void clicked();
    void doubleClicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void fitToCaption();
    void applyGeometry();
    void applyForeColor();

    QString m_name;
    int m_index;
    Colour m_foreColor;
    int m_borderStyle = 0;
    bool m_autoSize;
    float m_left, m_top, m_width, m_height;
    double m_twipsPerPixel;
    bool m_pressed = false;
    ControlSpec m_stored;
};

// System button-text colour as a 0x00BBGGRR value.
Colour buttonTextColour();
QColor toQColor(Colour colour);
Colour fromQColor(const QColor& colour);

} // namespace navcal::layout
