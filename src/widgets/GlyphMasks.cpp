#include "widgets/GlyphMasks.h"

#include <QFontInfo>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <QTransform>

namespace navcal::widgets {

namespace {
// The largest glyph Qt's raster painting keeps, in device pixels.
constexpr qreal kLargestKeptGlyph = 64;
// Enough for any clock's or date's characters in a few colours.
constexpr qsizetype kMaxGlyphs = 256;

// How many device pixels a unit of the painter spans; 0 unless the painter
// only scales, the same both ways (a screen's or a picture's pixel ratio).
qreal deviceScale(const QPainter& painter) {
    const QTransform t = painter.deviceTransform();
    return t.type() <= QTransform::TxScale && t.m11() == t.m22() && t.m11() > 0 ? t.m11() : 0;
}

} // namespace

bool GlyphMasks::drawnAsOutlines(const QPainter& painter, const QFont& font) {
    const qreal scale = deviceScale(painter);
    return scale > 0 && QFontInfo(font).pixelSize() * scale > kLargestKeptGlyph;
}

const GlyphMasks::Glyph& GlyphMasks::glyph(const QRawFont& font, const QString& face,
                                           quint32 index) {
    const std::pair<QString, quint32> key(face, index);
    if (const auto it = m_glyphs.constFind(key); it != m_glyphs.constEnd())
        return *it;
    if (m_glyphs.size() >= kMaxGlyphs)
        m_glyphs.clear();
    // Drawn by Qt itself, once, with a pixel to spare around its outline.
    const QRect pixels = font.boundingRect(index).toAlignedRect().adjusted(-1, -1, 1, 1);
    Glyph made{QImage(), pixels.topLeft()};
    if (pixels.width() > 2 && pixels.height() > 2) {
        made.picture = QImage(pixels.size(), QImage::Format_ARGB32_Premultiplied);
        made.picture.fill(Qt::transparent);
        QGlyphRun one;
        one.setRawFont(font);
        one.setGlyphIndexes({index});
        one.setPositions({QPointF(-pixels.x(), -pixels.y())});
        QPainter painter(&made.picture);
        painter.setPen(m_colour);
        painter.drawGlyphRun(QPointF(0, 0), one);
    }
    return *m_glyphs.insert(key, std::move(made));
}

void GlyphMasks::draw(QPainter& painter, QPointF topLeft, const QString& text, const QFont& font,
                      const QColor& colour) {
    const qreal ratio = deviceScale(painter);
    if (ratio <= 0)
        return;
    if (font != m_font || colour != m_colour || ratio != m_ratio) {
        m_glyphs.clear();
        m_font = font;
        m_colour = colour;
        m_ratio = ratio;
    }
    // Laid out as Qt lays it out, in the painter's units; drawn in the
    // device's pixels.
    QTextLayout layout(text, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return;
    line.setPosition(QPointF(0, 0));
    painter.save();
    painter.scale(1 / ratio, 1 / ratio);
    for (const QGlyphRun& run : layout.glyphRuns()) {
        QRawFont raw = run.rawFont();
        raw.setPixelSize(raw.pixelSize() * ratio);
        const QString face = raw.familyName() + QLatin1Char('|') + raw.styleName();
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i) {
            const Glyph& g = glyph(raw, face, indexes.at(i));
            if (g.picture.isNull())
                continue;
            const QPointF at = (topLeft + positions.at(i)) * ratio;
            painter.drawImage(QPoint(qRound(at.x()), qRound(at.y())) + g.offset, g.picture);
        }
    }
    painter.restore();
}

} // namespace navcal::widgets
