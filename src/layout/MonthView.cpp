#include "layout/MonthView.h"

#include "layout/Fonts.h"
#include "layout/Pointers.h"
#include "layout/TwipLabel.h"

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

namespace navcal::layout {

// ---- the labels ----

PanelLabel::PanelLabel(MonthView* view, int part, const StoredControl& stored)
    : m_view(view), m_part(part),
      m_stored(&stored), m_box{stored.left, stored.top, stored.width, stored.height},
      m_font(designFont(stored.font, view->scale().factor)), m_caption(stored.caption),
      m_colour(stored.foreColor.value_or(buttonTextColour())), m_tip(stored.toolTip) {}

void PanelLabel::setCaption(const QString& caption) {
    if (caption == m_caption)
        return;
    m_caption = caption;
    m_view->partRepainted(*this);
    refit();
    m_view->partRepainted(*this);
    m_view->partRenamed(*this, true, false);
}

void PanelLabel::setForeColor(Colour colour) {
    // Ticks rewrite colours they already hold; an idle saver should not repaint.
    if (colour == m_colour)
        return;
    m_colour = colour;
    m_view->partRepainted(*this);
}

void PanelLabel::setBorderStyle(int style) {
    if (style == m_border)
        return;
    m_view->partRepainted(*this);
    m_border = style;
    refit();
    m_view->partRepainted(*this);
}

void PanelLabel::setToolTipText(const QString& tip) {
    if (tip == m_tip)
        return;
    m_tip = tip;
    m_view->partRenamed(*this, false, true);
}

void PanelLabel::restoreStoredLook() {
    setCaption(m_stored->caption);
    setForeColor(m_stored->foreColor.value_or(buttonTextColour()));
    setBorderStyle(0);
    setToolTipText(m_stored->toolTip);
}

void PanelLabel::moveTwips(float left, float top) {
    m_box.left = left;
    m_box.top = top;
    refit();
}

void PanelLabel::refit() {
    const double tpp = m_view->scale().twipsPerPixel();
    if (m_stored->autoSize) {
        // Sized by its text in the font really used, plus the frame.
        const int frame = m_border == 1 ? 2 * m_view->scale().borderPixels() : 0;
        const QSize box = captionBox(m_font, m_caption, frame);
        m_box.width = float(box.width() * tpp);
        m_box.height = float(box.height() * tpp);
    }
    const QRect pixels = m_box.pixels(tpp);
    if (pixels == m_pixels)
        return;
    m_pixels = pixels;
    m_view->partMoved();
}

// ---- what screen readers see: one static text per label ----

namespace {

class PanelLabelAccessible : public QAccessibleInterface {
  public:
    PanelLabelAccessible(MonthView* view, int part) : m_view(view), m_part(part) {}

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
        const PanelLabel& label = m_view->parts().at(m_part);
        switch (t) {
        case QAccessible::Name:
            return label.caption();
        case QAccessible::Description:
            return label.toolTipText();
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!m_view)
            return {};
        const QRect r = m_view->parts().at(m_part).geometry();
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

// The view as a group of its labels, the way Qt's item views give their cells.
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
        return t == QAccessible::Name ? view()->parts().front().caption() : QString();
    }
    int childCount() const override { return MonthView::kParts; }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= MonthView::kParts)
            return nullptr;
        QAccessible::Id& id = m_children[std::size_t(index)];
        if (!id)
            id = QAccessible::registerAccessibleInterface(new PanelLabelAccessible(view(), index));
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
        const QPoint at = view()->mapFromGlobal(QPoint(x, y));
        const PanelLabel* part = view()->partAt(at);
        return part ? child(int(part - view()->parts().data())) : nullptr;
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

} // namespace

// ---- the view ----

MonthView::MonthView(const MonthLayout& month,
                     const std::array<const StoredControl*, kParts>& parts, TwipScale scale,
                     QWidget* window)
    : QWidget(window), m_month(month.month), m_scale(scale) {
    static const bool accessible = [] {
        QAccessible::installFactory(monthViewAccessible);
        return true;
    }();
    Q_UNUSED(accessible);
    setObjectName(QStringLiteral("month%1").arg(month.month));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    // For the title's pointer, which the other labels do not share.
    setMouseTracking(true);
    m_placing = true;
    m_parts.reserve(kParts);
    for (int i = 0; i < kParts; ++i)
        m_parts.push_back(PanelLabel(this, i, *parts[std::size_t(i)]));
    for (PanelLabel& part : m_parts)
        part.refit();
    m_placing = false;
    placeOnWindow();
}

const PanelLabel* MonthView::partAt(QPoint pos) const {
    const QPoint at = pos + this->pos();
    // The last drawn is on top.
    for (auto it = m_parts.rbegin(); it != m_parts.rend(); ++it)
        if (it->m_pixels.contains(at))
            return &*it;
    return nullptr;
}

void MonthView::rescale(TwipScale scale) {
    m_scale = scale;
    m_placing = true;
    for (PanelLabel& part : m_parts) {
        part.m_font = designFont(part.m_stored->font, scale.factor);
        part.refit();
    }
    m_placing = false;
    placeOnWindow();
    update();
}

void MonthView::shift(float dx, float dy) {
    m_placing = true;
    for (PanelLabel& part : m_parts)
        part.moveTwips(part.left() + dx, part.top() + dy);
    m_placing = false;
    placeOnWindow();
}

void MonthView::partMoved() {
    if (!m_placing)
        placeOnWindow();
}

void MonthView::placeOnWindow() {
    // The view covers its labels and no more: its mask is their union, so
    // that between them the pointer and the paint reach what is beneath.
    QRect bounds;
    QRegion mask;
    for (const PanelLabel& part : m_parts) {
        bounds |= part.m_pixels;
        mask += part.m_pixels;
    }
    mask.translate(-bounds.topLeft());
    if (geometry() != bounds)
        setGeometry(bounds);
    if (this->mask() != mask)
        setMask(mask);
}

void MonthView::partRepainted(const PanelLabel& part) {
    if (!m_placing)
        update(part.m_pixels.translated(-pos()));
}

void MonthView::partRenamed(const PanelLabel& part, bool name, bool description) {
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(this);
    QAccessibleInterface* label = view ? view->child(part.m_part) : nullptr;
    if (!label)
        return;
    if (name) {
        QAccessibleEvent event(label, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    if (description) {
        QAccessibleEvent event(label, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void MonthView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const int frame = m_scale.borderPixels();
    QPalette palette = this->palette(); // each label's colour set in turn
    for (const PanelLabel& part : m_parts) {
        const QRect box = part.m_pixels.translated(-pos());
        if (!event->region().intersects(box))
            continue;
        // Each label drawn as a label of its own draws itself: clipped to
        // its box, the frame on its edge, the text from the top left inside.
        painter.save();
        painter.setClipRect(box, Qt::IntersectClip);
        painter.setFont(part.m_font);
        palette.setColor(QPalette::WindowText, toQColor(part.m_colour));
        palette.setColor(QPalette::Text, toQColor(part.m_colour));
        QRect contents = box;
        if (part.m_border == 1) {
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
                              true, part.m_caption, QPalette::WindowText);
        painter.restore();
    }
}

bool MonthView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const PanelLabel* part = partAt(help->pos());
        if (part && !part->m_tip.isEmpty()) {
            QToolTip::showText(help->globalPos(), part->m_tip, this,
                               part->m_pixels.translated(-pos()));
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

// Every label takes its own presses: a click that reached the window would
// end the saver. A left press and release on the title make a click; the
// second press of a double click counts as a press again.
void MonthView::mousePressEvent(QMouseEvent* event) {
    m_titleClick.press(event, partAt(event->position().toPoint()) == &m_parts.front());
}

void MonthView::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void MonthView::mouseReleaseEvent(QMouseEvent* event) {
    if (m_titleClick.release(
            event, m_parts.front().m_pixels.contains(event->position().toPoint() + pos())))
        emit titleClicked();
}

void MonthView::mouseMoveEvent(QMouseEvent* event) {
    const PanelLabel* part = partAt(event->position().toPoint());
    const Pointer pointer = part ? part->m_stored->pointer : Pointer::Arrow;
    if (pointer == Pointer::Arrow)
        unsetCursor();
    else
        setCursor(pointerCursor(pointer));
    event->ignore();
}

} // namespace navcal::layout
