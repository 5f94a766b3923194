#include "widgets/TwipLabel.h"

#include "design/Fonts.h"
#include "widgets/Pointers.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <cmath>

namespace navcal::widgets {

using design::Colour;
using design::StoredControl;
using design::toQColor;
using design::TwipScale;

using design::buttonTextColour;
using design::Colour;
using design::Pointer;

TwipLabel::TwipLabel(const StoredControl& control, const TwipScale& scale, QWidget* parent)
    : TwipPlaced<QLabel>(control, scale, parent),
      m_colour(control.colour.value_or(buttonTextColour())), m_autoSize(control.autoSize),
      m_stored(control) {
    setFont(designFont(control.font, scale.factor));
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setMargin(0);
    setIndent(0);
    setContentsMargins(0, 0, 0, 0);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
    if (control.pointer != Pointer::Arrow)
        setCursor(pointerCursor(control.pointer));
    setToolTip(control.tooltip);
    applyColour();
    QLabel::setText(control.caption);
    fitToCaption();
    applyGeometry();
}

void TwipLabel::setCaption(const QString& caption) {
    if (caption == text())
        return;
    QLabel::setText(caption);
    fitToCaption();
    applyGeometry();
}

void TwipLabel::setColour(Colour colour) {
    // Ticks rewrite colours they already hold; an idle saver should not repaint.
    if (colour == m_colour)
        return;
    m_colour = colour;
    applyColour();
}

void TwipLabel::applyColour() {
    const Colour colour = m_colour;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, toQColor(colour));
    p.setColor(QPalette::Text, toQColor(colour));
    setPalette(p);
}

void TwipLabel::rescale() {
    setFont(designFont(m_stored.font, scale().factor));
    fitToCaption();
    applyGeometry();
}

QSize captionBox(const QFont& font, const QString& caption, int frame) {
    const QFontMetricsF metrics(font);
    const QStringList lines = caption.isEmpty() ? QStringList{QStringLiteral(" ")}
                                                : caption.split(QStringLiteral("\r\n"));
    qreal widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest,
                          metrics.horizontalAdvance(line.isEmpty() ? QStringLiteral(" ") : line));
    return {int(std::ceil(widest)) + frame,
            int(std::ceil(metrics.lineSpacing() * lines.size())) + frame};
}

void TwipLabel::fitToCaption() {
    if (!m_autoSize)
        return;
    // A label that sizes itself takes the extent of its text in the font that
    // is really used; an empty caption keeps the narrowest one-line label.
    const QSize box = captionBox(font(), text(), 0);
    setPixelSize(box.width(), box.height());
}

void TwipLabel::widenToCaption() {
    const int needed = captionBox(font(), text(), 0).width();
    if (needed <= scale().pixels(twipWidth()))
        return;
    // Grows about its centre.
    const float width = twipWidth();
    setPixelSize(needed, scale().pixels(twipHeight()));
    moveTwips(left() - design::centringShift(width, twipWidth()), top());
}

void TwipLabel::setKeepsLargeGlyphs(bool keep) {
    if (keep == bool(m_largeGlyphs))
        return;
    m_largeGlyphs = keep ? std::make_unique<GlyphMasks>() : nullptr;
    update();
}

void TwipLabel::paintEvent(QPaintEvent* event) {
    if (m_largeGlyphs && !text().contains(QLatin1Char('\n'))) {
        QPainter painter(this);
        if (GlyphMasks::drawnAsOutlines(painter, font())) {
            // As QLabel draws a caption with no margin or indent: top left.
            drawFrame(&painter);
            m_largeGlyphs->draw(painter, contentsRect().topLeft(), text(), font(),
                                palette().color(foregroundRole()));
            return;
        }
    }
    QLabel::paintEvent(event);
}

void TwipLabel::mousePressEvent(QMouseEvent* event) {
    m_click.press(event);
}

void TwipLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (m_click.release(event, rect().contains(event->position().toPoint())))
        emit clicked();
}

// The second press of a double click counts as a press again.
void TwipLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    m_click.doubleClick(event, true);
}

} // namespace navcal::widgets
