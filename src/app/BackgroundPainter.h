#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <utility>
#include <vector>

class QPainter;

namespace navcal::app {

// The window's background: its one copy of the picture fitted to the window
// and painted where the window asks, with enlarged pieces kept ready under
// the small rectangles that repaint often (the clock, the banner). The
// picture is rescaled when it, the window's size or those rectangles change;
// a paint only copies or draws.
class BackgroundPainter {
  public:
    // A new picture or window `size` (logical pixels, `ratio` device pixels
    // each); `fill` shows where the picture is transparent or missing. Gives
    // the one copy kept: `picture` shrunk to the window when larger, else as
    // it is (enlarged as it is drawn).
    QImage fit(QImage picture, QSize size, qreal ratio, QColor fill);
    // The rectangles (the window's logical pixels) repainted often: a piece
    // of the enlarged picture is kept ready under each of them.
    void keepReady(const QList<QRect>& areas);
    // Paints `area` of a window `size` (logical pixels, `ratio` device
    // pixels each): a size or ratio not fitted yet gets the picture drawn to
    // it until `fit` is called.
    void paint(QPainter& painter, const QRect& area, QSize size, qreal ratio) const;

  private:
    bool enlarging() const;
    QImage enlargedPiece(const QRect& area) const;

    QImage m_picture;
    QSize m_size;
    qreal m_ratio = 1;
    QColor m_fill;
    QList<QRect> m_often;
    std::vector<std::pair<QRect, QImage>> m_pieces;
};

} // namespace navcal::app
