#pragma once

#include "layout/LeftClick.h"
#include "layout/StoredDesign.h"
#include "layout/TwipPlaced.h"

#include <QFont>
#include <QWidget>
#include <array>
#include <vector>

namespace navcal::layout {

class MonthView;

// A title, weekday header or day cell of a month panel: a label of the stored
// design with no widget of its own. Its panel's view paints it, hit-tests it
// and gives it to screen readers; it keeps its place in twips.
class PanelLabel {
  public:
    const StoredControl& stored() const { return *m_stored; }
    // "Label10(5)" for a day cell, the plain stored name otherwise.
    QString objectName() const { return m_stored->objectName(); }

    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption);
    Colour foreColor() const { return m_colour; }
    void setForeColor(Colour colour);
    // 1: today's frame, one design pixel wide at the arrangement's scale.
    int borderStyle() const { return m_border; }
    void setBorderStyle(int style);
    const QString& toolTipText() const { return m_tip; }
    void setToolTipText(const QString& tip);
    // Puts back the stored caption, colour, border and tooltip (not the place).
    void restoreStoredLook();

    float left() const { return m_box.left; }
    float top() const { return m_box.top; }
    float twipWidth() const { return m_box.width; }
    float twipHeight() const { return m_box.height; }
    void moveTwips(float left, float top);
    void setLeft(float left) { moveTwips(left, m_box.top); }
    void setTop(float top) { moveTwips(m_box.left, top); }

    // Where it is drawn, in the window's pixels, and in what font.
    const QRect& geometry() const { return m_pixels; }
    const QFont& font() const { return m_font; }

  private:
    friend class MonthView;
    PanelLabel(MonthView* view, int part, const StoredControl& stored);
    // Size from the caption for a label that sizes itself, then the pixels.
    void refit();

    MonthView* m_view;
    int m_part;
    const StoredControl* m_stored; // in the stored design, which lives as long as the program
    TwipBox m_box;
    QFont m_font;
    QString m_caption;
    Colour m_colour;
    int m_border = 0;
    QString m_tip;
    QRect m_pixels;
};

// One month panel of the stored design, painted by one widget: its title, the
// seven weekday headers and the 37 day cells, each at its stored place and in
// its stored font, scaled as the arrangement is. A click on the title is the
// panel's one action; the other labels take their clicks so that they do not
// reach the window. Between the labels the view is not there: clicks and drops
// go to what lies beneath, as they did between separate labels.
class MonthView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kHeaders = 7;
    static constexpr int kParts = 1 + kHeaders + kCellsPerMonth;

    // `parts`: the month's title, its headers Monday first and its cells in
    // order, as stored.
    MonthView(const MonthLayout& month, const std::array<const StoredControl*, kParts>& parts,
              TwipScale scale, QWidget* window);

    int month() const { return m_month; }
    PanelLabel& title() { return m_parts[0]; }
    PanelLabel& header(int weekday) { return m_parts.at(1 + weekday); }
    PanelLabel& cell(int index) { return m_parts.at(1 + kHeaders + index); }
    // Title, headers and cells: drawing order.
    std::vector<PanelLabel>& parts() { return m_parts; }
    const std::vector<PanelLabel>& parts() const { return m_parts; }
    // The label drawn at `pos` (the view's pixels), or nullptr.
    const PanelLabel* partAt(QPoint pos) const;

    const TwipScale& scale() const { return m_scale; }
    // Takes the arrangement's new scale: fonts, frames and sizes follow it.
    void rescale(TwipScale scale);
    // Moves every label by (dx, dy) twips.
    void shift(float dx, float dy);

  signals:
    void titleClicked();

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    friend class PanelLabel;
    // A label's place or size changed: the view follows its labels.
    void partMoved();
    void partRepainted(const PanelLabel& part);
    // Tells screen readers that a label's caption or tooltip changed.
    void partRenamed(const PanelLabel& part, bool name, bool description);
    void placeOnWindow();

    int m_month;
    TwipScale m_scale;
    std::vector<PanelLabel> m_parts;
    bool m_placing = false;
    LeftClick m_titleClick;
};

} // namespace navcal::layout
