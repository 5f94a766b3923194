#include "panels/MonthView.h"

#include "design/Fonts.h"
#include "widgets/Pointers.h"
#include "widgets/TwipLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFrame>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolTip>

namespace navcal::panels {

using design::buttonTextColour;
using design::toQColor;

using design::Colour;

namespace {

// ---- what screen readers see: one static text per part ----

class PartAccessible : public QAccessibleInterface {
  public:
    PartAccessible(MonthView* view, int part) : m_view(view), m_part(part) {}

    bool isValid() const override { return m_view; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_view.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        if (!m_view)
            return {};
        switch (t) {
        case QAccessible::Name:
            return m_view->look(m_part).caption;
        case QAccessible::Description:
            return m_view->look(m_part).tip;
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!m_view)
            return {};
        const QRect r = m_view->partPixels(m_part);
        return QRect(m_view->parentWidget()->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!m_view || !m_view->isVisible())
            s.invisible = true;
        return s;
    }

  private:
    QPointer<MonthView> m_view;
    int m_part;
};

// The view as a group of its parts, the way Qt's item views give their cells.
class MonthViewAccessible : public QAccessibleWidget {
  public:
    explicit MonthViewAccessible(MonthView* view)
        : QAccessibleWidget(view, QAccessible::Grouping) {}
    ~MonthViewAccessible() override {
        for (QAccessible::Id id : m_children)
            if (id)
                QAccessible::deleteAccessibleInterface(id);
    }

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? view()->look(0).caption : QString();
    }
    int childCount() const override { return MonthView::kParts; }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= MonthView::kParts)
            return nullptr;
        QAccessible::Id& id = m_children[std::size_t(index)];
        if (!id)
            id = QAccessible::registerAccessibleInterface(new PartAccessible(view(), index));
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < MonthView::kParts; ++i)
            if (m_children[std::size_t(i)] &&
                QAccessible::accessibleInterface(m_children[std::size_t(i)]) == child)
                return i;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int part = view()->partAt(view()->mapFromGlobal(QPoint(x, y)));
        return part < 0 ? nullptr : child(part);
    }

  private:
    MonthView* view() const { return static_cast<MonthView*>(widget()); }
    mutable std::array<QAccessible::Id, MonthView::kParts> m_children{};
};

QAccessibleInterface* monthViewAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(MonthView::staticMetaObject.className()))
        return new MonthViewAccessible(static_cast<MonthView*>(object));
    return nullptr;
}

bool sameFont(const design::StoredFont& a, const design::StoredFont& b) {
    return a.face == b.face && a.points == b.points && a.bold == b.bold && a.italic == b.italic;
}

} // namespace

// ---- the view ----

MonthView::MonthView(const design::MonthLayout& month,
                     const std::array<const design::StoredControl*, kParts>& parts,
                     const design::TwipScale& scale, const calendar::YearFill& fill,
                     QWidget* window)
    : QWidget(window), m_month(month.month), m_scale(scale), m_fill(fill) {
    static const bool accessible = [] {
        QAccessible::installFactory(monthViewAccessible);
        return true;
    }();
    Q_UNUSED(accessible);
    setObjectName(QStringLiteral("month%1").arg(month.month));
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    // For the title's pointer, which the other parts do not share.
    setMouseTracking(true);
    const Colour buttonText = design::buttonTextColour();
    m_parts.reserve(kParts);
    for (const design::StoredControl* stored : parts)
        m_parts.push_back(Part{stored,
                               stored->colour.value_or(buttonText),
                               {stored->left, stored->top, stored->width, stored->height},
                               {},
                               {}});
    fitToScale();
}

MonthView::Look MonthView::look(int index) const {
    const Part& part = m_parts.at(std::size_t(index));
    Look look{
        .caption = part.stored->caption, .colour = part.storedColour, .tip = part.stored->tooltip};
    if (index == 0) {
        look.colour = m_titleColour.value_or(look.colour);
        return look;
    }
    if (index < kFirstCell) {
        look.colour = m_headerColour.value_or(look.colour);
        return look;
    }
    const int cell = index - kFirstCell;
    look.day = design::storedCellDay(cell);
    return calendar::cellLook(cell, std::move(look), m_fill.month(m_month), m_fill.ticks(),
                              m_marks[std::size_t(cell)]);
}

MonthView::Looks MonthView::looks() const {
    Looks out;
    for (int i = 0; i < kParts; ++i)
        out[std::size_t(i)] = look(i);
    return out;
}

void MonthView::setTitleColour(Colour colour) {
    const Looks before = looks();
    m_titleColour = colour;
    showChanges(before);
}

void MonthView::setHeaderColour(Colour colour) {
    const Looks before = looks();
    m_headerColour = colour;
    showChanges(before);
}

void MonthView::markCells(const std::array<Mark, calendar::kMonthCells>& marks) {
    const Looks before = looks();
    for (int cell = 0; cell < calendar::kMonthCells; ++cell) {
        const Mark& mark = marks[std::size_t(cell)];
        calendar::CellMarks& kept = m_marks[std::size_t(cell)];
        kept.colour = mark.colour;
        kept.colourAt = m_fill.ticks();
        if (mark.tip) {
            kept.tip = *mark.tip;
            kept.tipAt = m_fill.ticks();
        }
    }
    showChanges(before);
}

void MonthView::clearMarks() {
    m_marks.fill({});
}

// ---- place ----

int MonthView::partAt(QPoint pos) const {
    const QPoint at = pos + this->pos();
    // The last drawn is on top.
    for (int i = kParts - 1; i >= 0; --i)
        if (m_parts[std::size_t(i)].pixels.contains(at))
            return i;
    return -1;
}

void MonthView::fit(Part& part, const Look& look) {
    const double tpp = m_scale.twipsPerPixel();
    if (part.stored->autoSize) {
        // Sized by its text in the font really used, plus the frame.
        const int frame = look.frame ? 2 * m_scale.borderPixels() : 0;
        const QSize box = widgets::captionBox(part.font, look.caption, frame);
        part.box.width = m_scale.twips(box.width());
        part.box.height = m_scale.twips(box.height());
    }
    part.pixels = part.box.pixels(tpp);
}

void MonthView::fitToScale() {
    const Looks shown = looks();
    for (int i = 0; i < kParts; ++i) {
        Part& part = m_parts[std::size_t(i)];
        // The cells share one stored font: one font made for all of them.
        part.font = i > 0 && sameFont(m_parts[std::size_t(i - 1)].stored->font, part.stored->font)
                        ? m_parts[std::size_t(i - 1)].font
                        : design::designFont(part.stored->font, m_scale.factor);
        fit(part, shown[std::size_t(i)]);
    }
    placeOnWindow();
}

void MonthView::rescale() {
    fitToScale();
    update();
}

void MonthView::shift(float dx, float dy) {
    // A move keeps every part's size: each was fitted to what it shows when
    // that last changed, so the captions are not measured again.
    const double tpp = m_scale.twipsPerPixel();
    for (Part& part : m_parts) {
        part.box.left += dx;
        part.box.top += dy;
        part.pixels = part.box.pixels(tpp);
    }
    placeOnWindow();
}

void MonthView::showChanges(const Looks& before) {
    bool moved = false;
    for (int i = 0; i < kParts; ++i) {
        const Look& was = before[std::size_t(i)];
        const Look now = look(i);
        if (now == was)
            continue;
        Part& part = m_parts[std::size_t(i)];
        update(part.pixels.translated(-pos()));
        if (now.caption != was.caption || now.frame != was.frame) {
            const QRect old = part.pixels;
            fit(part, now);
            moved = moved || part.pixels != old;
            update(part.pixels.translated(-pos()));
        }
        if (!QAccessible::isActive())
            continue;
        QAccessibleInterface* view = QAccessible::queryAccessibleInterface(this);
        QAccessibleInterface* label = view ? view->child(i) : nullptr;
        if (label && now.caption != was.caption) {
            QAccessibleEvent event(label, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
        }
        if (label && now.tip != was.tip) {
            QAccessibleEvent event(label, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&event);
        }
    }
    if (moved)
        placeOnWindow();
}

void MonthView::placeOnWindow() {
    // The view covers its parts and no more: its mask is their union, so
    // that between them the pointer and the paint reach what is beneath.
    QRect bounds;
    QRegion mask;
    for (const Part& part : m_parts) {
        bounds |= part.pixels;
        mask += part.pixels;
    }
    mask.translate(-bounds.topLeft());
    if (geometry() != bounds)
        setGeometry(bounds);
    if (this->mask() != mask)
        setMask(mask);
}

// ---- drawing and input ----

void MonthView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    paint(painter, pos(), event->region().translated(pos()));
}

void MonthView::paint(QPainter& painter, QPoint origin, const QRegion& region) const {
    const int frame = m_scale.borderPixels();
    QPalette palette = this->palette(); // each part's colour set in turn
    for (int i = 0; i < kParts; ++i) {
        const Part& part = m_parts[std::size_t(i)];
        if (!region.intersects(part.pixels))
            continue;
        const QRect box = part.pixels.translated(-origin);
        const Look shown = look(i);
        // Each part drawn as a label of its own draws itself: clipped to its
        // box, the frame on its edge, the text from the top left inside.
        painter.save();
        painter.setClipRect(box, Qt::IntersectClip);
        painter.setFont(part.font);
        palette.setColor(QPalette::WindowText, design::toQColor(shown.colour));
        palette.setColor(QPalette::Text, design::toQColor(shown.colour));
        QRect contents = box;
        if (shown.frame) {
            QStyleOptionFrame option;
            option.initFrom(this);
            option.palette = palette;
            option.rect = box;
            option.frameShape = QFrame::Box;
            option.lineWidth = frame;
            option.midLineWidth = 0;
            style()->drawControl(QStyle::CE_ShapedFrame, &option, &painter, this);
            contents = box.adjusted(frame, frame, -frame, -frame);
        }
        style()->drawItemText(&painter, contents,
                              Qt::AlignLeft | Qt::AlignTop | Qt::TextForceLeftToRight, palette,
                              true, shown.caption, QPalette::WindowText);
        painter.restore();
    }
}

bool MonthView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int part = partAt(help->pos());
        const QString tip = part < 0 ? QString() : look(part).tip;
        if (!tip.isEmpty()) {
            QToolTip::showText(help->globalPos(), tip, this,
                               m_parts[std::size_t(part)].pixels.translated(-pos()));
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

// Every part takes its own presses: a click that reached the window would
// end the saver. A left press and release on the title make a click; the
// second press of a double click counts as a press again.
void MonthView::mousePressEvent(QMouseEvent* event) {
    m_titleClick.press(event, partAt(event->position().toPoint()) == 0);
}

void MonthView::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void MonthView::mouseReleaseEvent(QMouseEvent* event) {
    if (m_titleClick.release(event,
                             m_parts.front().pixels.contains(event->position().toPoint() + pos())))
        emit titleClicked();
}

void MonthView::mouseMoveEvent(QMouseEvent* event) {
    const int part = partAt(event->position().toPoint());
    const design::Pointer pointer =
        part < 0 ? design::Pointer::Arrow : m_parts[std::size_t(part)].stored->pointer;
    if (pointer == design::Pointer::Arrow)
        unsetCursor();
    else
        setCursor(widgets::pointerCursor(pointer));
    event->ignore();
}

} // namespace navcal::panels
