#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <utility>
#include <vector>

class QPainter;

namespace navcal::widgets {
class PictureBox;
}

namespace navcal::app {

// The window's background: its one copy of the picture fitted to the window
// and painted where the window asks, with enlarged pieces kept ready under
// the small rectangles that repaint often (the clock, the banner).
class BackgroundPainter {
  public:
    // Paints `area` of a window `size` (logical pixels, `ratio` device pixels
    // each) with the picture that `box` holds; `fill` shows where the picture
    // is transparent or missing.
    void paint(QPainter& painter, widgets::PictureBox& box, const QRect& area, QSize size,
               qreal ratio, QColor fill);

  private:
    const QImage* enlargedPiece(const QRect& area, const QImage& picture, QSize size, qreal ratio,
                                QColor fill);

    static constexpr std::size_t kKeptPieces = 4;
    std::vector<std::pair<QRect, QImage>> m_pieces;
    QList<QRect> m_paintedAreas;
    std::pair<qint64, QSize> m_piecesFrom; // the picture and window size they show
};

} // namespace navcal::app
