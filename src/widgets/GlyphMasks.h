#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QString>
#include <utility>

class QPainter;
class QRawFont;

namespace navcal::widgets {

// One line of text drawn from pictures of its glyphs, each made once. Qt
// keeps glyphs of up to 64 pixels and fills larger ones from their outlines
// on every paint: the clock on a 4K screen refills eight such glyphs every
// second, at about twenty times the cost of copying them.
class GlyphMasks {
  public:
    // Whether `painter` fills `font` from outlines: the only case the
    // pictures are for. Also false when the painter turns or shears.
    static bool drawnAsOutlines(const QPainter& painter, const QFont& font);

    // Draws `text`, one line, its top left at `topLeft` (the painter's
    // coordinates), as Qt would draw it there; for a painter that fills
    // `font` from outlines.
    void draw(QPainter& painter, QPointF topLeft, const QString& text, const QFont& font,
              const QColor& colour);

  private:
    struct Glyph {
        QImage picture; // in device pixels, premultiplied
        QPoint offset;  // of its top left from the glyph's origin on the baseline
    };
    // `face` names the font among the fallbacks a line may use.
    const Glyph& glyph(const QRawFont& font, const QString& face, quint32 index);

    QFont m_font;
    QColor m_colour;
    qreal m_ratio = 0;
    QHash<std::pair<QString, quint32>, Glyph> m_glyphs;
};

} // namespace navcal::widgets
