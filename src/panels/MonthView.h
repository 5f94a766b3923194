#pragma once

#include "calendar/MonthModel.h"
#include "design/StoredDesign.h"
#include "widgets/LeftClick.h"
#include "widgets/TwipPlaced.h"

#include <QFont>
#include <QRegion>
#include <QWidget>
#include <array>
#include <optional>
#include <vector>

class QPainter;

namespace navcal::panels {

// One month panel of the stored design, painted by one widget: its title, the
// seven weekday headers and the 37 day cells, each at its stored place and in
// its stored font, scaled as the arrangement is. What each of them shows is
// worked out when drawn, from the stored design, the year's fill (the month's
// cells as the calendar gives them and how many of them are revealed), and the
// colours clicks have put on them.
//
// A click on the title is the panel's one action; the other parts take their
// clicks so that they do not reach the window. Between the parts the view is
// not there: clicks and drops go to what lies beneath.
class MonthView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kHeaders = 7;
    static constexpr int kParts = 1 + kHeaders + calendar::kMonthCells;
    static constexpr int kFirstCell = 1 + kHeaders;

    // `parts`: the month's title, its headers Monday first and its cells in
    // order, as stored. `scale` and `fill` are held by the view's maker,
    // which deletes the view before they go.
    MonthView(const design::MonthLayout& month,
              const std::array<const design::StoredControl*, kParts>& parts,
              const design::TwipScale& scale, const calendar::YearFill& fill, QWidget* window);

    // What a part (0: title, 1..7: headers, then the cells) shows; today's
    // frame is one design pixel wide at the arrangement's scale.
    using Look = calendar::CellLook;
    Look look(int part) const;
    // Where a part is drawn, in the window's pixels, and in what font.
    QRect partPixels(int part) const { return m_parts.at(part).pixels; }
    const QFont& partFont(int part) const { return m_parts.at(part).font; }
    // The top of the title and of a header (Monday 0), in twips: what other
    // pieces line up with.
    float titleTop() const { return box(0).top; }
    float headerTop(int weekday) const { return box(1 + weekday).top; }
    // A part's place in twips.
    const design::TwipBox& box(int part) const { return m_parts.at(part).box; }
    // The part drawn at `pos` (the view's pixels), or -1.
    int partAt(QPoint pos) const;
    // Draws the parts that meet `region` (the window's pixels) with
    // `painter`, whose origin is at `origin` in the window: the view's own
    // paint and a printed page both draw through here.
    void paint(QPainter& painter, QPoint origin, const QRegion& region) const;

    // ---- changes ----
    // Every part's look: taken before a change of the year's fill, so that
    // `showChanges` repaints and tells screen readers what changed.
    using Looks = std::array<Look, kParts>;
    Looks looks() const;
    void showChanges(const Looks& before);

    // ---- what clicks put on it ----
    void setTitleColour(design::Colour colour);
    void setHeaderColour(design::Colour colour);
    // A title click's marks on every cell: a colour each, and a tooltip where
    // given (calendar::cellLook says how they show).
    struct Mark {
        design::Colour colour = 0;
        std::optional<QString> tip{};
    };
    void markCells(const std::array<Mark, calendar::kMonthCells>& marks);
    // The marks of earlier title clicks gone, as a new fill starts (the
    // title's and headers' colours stay); shown by the `changeFill` it is
    // called in.
    void clearMarks();

    // ---- place ----
    // The arrangement's scale has changed: fonts, frames and sizes follow it.
    void rescale();
    // Moves every part by (dx, dy) twips.
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
    struct Part {
        const design::StoredControl* stored; // in the stored design, which outlives the program
        design::Colour storedColour;
        design::TwipBox box;
        QFont font;
        QRect pixels;
    };
    // Size from the caption for a part that sizes itself, then the pixels.
    void fit(Part& part, const Look& look);
    // Every part's font at the scale, each part fitted, the view placed.
    void fitToScale();
    void placeOnWindow();

    int m_month;
    const design::TwipScale& m_scale;
    const calendar::YearFill& m_fill;
    std::vector<Part> m_parts;
    std::optional<design::Colour> m_titleColour;
    std::optional<design::Colour> m_headerColour;
    std::array<calendar::CellMarks, calendar::kMonthCells> m_marks{};
    widgets::LeftClick m_titleClick;
};

// Changes the year's fill: `change` runs once, then each of `views` repaints
// and tells screen readers what changed in it.
template <class Change> void changeFill(const std::array<MonthView*, 12>& views, Change&& change) {
    std::array<MonthView::Looks, 12> before;
    for (std::size_t i = 0; i < views.size(); ++i)
        before[i] = views[i]->looks();
    change();
    for (std::size_t i = 0; i < views.size(); ++i)
        views[i]->showChanges(before[i]);
}

} // namespace navcal::panels
