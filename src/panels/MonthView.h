#pragma once

#include "calendar/MonthModel.h"
#include "design/StoredDesign.h"
#include "widgets/LeftClick.h"
#include "widgets/TwipPlaced.h"

#include <QFont>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <array>
#include <optional>
#include <vector>

class QPainter;

namespace navcal::panels {

static_assert(calendar::kMonthCells == design::kCellsPerMonth);

// One month panel of the stored design, painted by one widget: its title, the
// seven weekday headers and the 37 day cells, each at its stored place and in
// its stored font, scaled as the arrangement is. What each of them shows is
// worked out when drawn, from the stored design, the month's cells as the
// calendar gives them, how many of them the fill has revealed, and the
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
    // Ticks of a whole fill: cell 0 comes with the first.
    static constexpr int kFillTicks = calendar::kMonthCells - 1;

    // `parts`: the month's title, its headers Monday first and its cells in
    // order, as stored.
    MonthView(const design::MonthLayout& month,
              const std::array<const design::StoredControl*, kParts>& parts,
              design::TwipScale scale, QWidget* window);

    int month() const { return m_month; }

    // What a part (0: title, 1..7: headers, then the cells) shows.
    struct Look {
        QString caption;
        design::Colour colour = 0;
        bool frame = false; // today's frame, one design pixel wide at the arrangement's scale
        QString tip;
        bool operator==(const Look&) const = default;
    };
    Look look(int part) const;
    const design::StoredControl& stored(int part) const { return *m_parts.at(part).stored; }
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

    // ---- the fill ----
    // How many ticks of the fill have run; none: every cell as stored.
    int revealed() const { return m_revealed; }
    // Back to the start of a fill, the cells as stored, the marks of earlier
    // title clicks gone (the title's and headers' colours stay).
    void restartFill();
    // The fill's first tick: takes the month's cells, empties those that show
    // no day and reveals cells 0 and 1. Unrevealed weekend cells are red from
    // then on.
    void startFill(const calendar::MonthCells& cells);
    // Each later tick reveals the next cell; none after the last.
    void revealNext();
    // The day of the month a cell shows (revealed, or its stored number), or 0.
    int dayShown(int cell) const;

    // ---- what clicks put on it ----
    void setTitleColour(design::Colour colour);
    void setHeaderColour(design::Colour colour);
    // A title click's marks on every cell: a colour each, and a tooltip where
    // given. A cell the fill reveals later takes its day's own colour and
    // tooltip over them, where its day has one.
    struct Mark {
        design::Colour colour = 0;
        std::optional<QString> tip{};
    };
    void markCells(const std::array<Mark, calendar::kMonthCells>& marks);

    // ---- place ----
    const design::TwipScale& scale() const { return m_scale; }
    // Takes the arrangement's new scale: fonts, frames and sizes follow it.
    void rescale(design::TwipScale scale);
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
    using Looks = std::array<Look, kParts>;
    Looks looks() const;
    bool isRevealed(int cell) const { return m_revealed > 0 && cell <= m_revealed; }
    // The fill's state after `revealed` ticks, from the one before.
    void revealTo(int revealed);
    // Size from the caption for a part that sizes itself, then the pixels.
    void fit(Part& part, const Look& look);
    // Every part's font at the scale, each part fitted, the view placed.
    void fitToScale();
    // Repaints, resizes and tells screen readers what changed since `before`.
    void showChanges(const Looks& before);
    void placeOnWindow();

    int m_month;
    design::TwipScale m_scale;
    std::vector<Part> m_parts;
    calendar::MonthCells m_cells{};
    int m_revealed = 0;
    std::optional<design::Colour> m_titleColour;
    std::optional<design::Colour> m_headerColour;
    std::array<std::optional<design::Colour>, calendar::kMonthCells> m_markColour{};
    std::array<std::optional<QString>, calendar::kMonthCells> m_markTip{};
    widgets::LeftClick m_titleClick;
};

} // namespace navcal::panels
