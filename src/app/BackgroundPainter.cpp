#include "app/BackgroundPainter.h"

#include "app/BackgroundDecode.h"

#include <QPainter>
#include <algorithm>

namespace navcal::app {

QImage BackgroundPainter::fit(QImage picture, QSize size, qreal ratio, QColor fill) {
    // A smaller window: the one copy is shrunk to it, once, so that a
    // repainted label costs a copy of its rectangle, never a rescale.
    m_picture = shrunkTo(picture, (QSizeF(size) * ratio).toSize());
    m_picture.setDevicePixelRatio(ratio);
    m_size = size;
    m_ratio = ratio;
    m_fill = fill;
    m_pieces.clear();
    keepReady(m_often);
    return m_picture;
}

bool BackgroundPainter::enlarging() const {
    return !m_picture.isNull() && m_picture.size() != (QSizeF(m_size) * m_ratio).toSize();
}

void BackgroundPainter::keepReady(const QList<QRect>& areas) {
    m_often = areas;
    std::erase_if(m_pieces, [&areas](const auto& piece) { return !areas.contains(piece.first); });
    if (!enlarging())
        return;
    // The clock repaints its rectangle every second and the banner its own:
    // the enlarged picture under each is kept ready, so that an idle second
    // is a copy, not a smooth scaling (which a large screen spreads over
    // drawing threads). Whole device pixels only, where the piece's scaling
    // is the window's own.
    for (const QRect& area : areas) {
        const QRectF device(QPointF(area.topLeft()) * m_ratio, QSizeF(area.size()) * m_ratio);
        if (area.isEmpty() || device.topLeft() != QPointF(device.toRect().topLeft()) ||
            qint64(area.width()) * area.height() * 32 > qint64(m_size.width()) * m_size.height())
            continue;
        if (std::none_of(m_pieces.begin(), m_pieces.end(),
                         [&area](const auto& piece) { return piece.first == area; }))
            m_pieces.emplace_back(area, enlargedPiece(area));
    }
}

QImage BackgroundPainter::enlargedPiece(const QRect& area) const {
    const QSize pixels = (QSizeF(area.size()) * m_ratio).toSize();
    QImage piece(pixels, m_picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                     : QImage::Format_RGB32);
    piece.setDevicePixelRatio(m_ratio);
    const QRect window(QPoint(0, 0), m_size);
    QPainter painter(&piece);
    painter.translate(-area.topLeft());
    if (m_picture.hasAlphaChannel())
        painter.fillRect(window, m_fill);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(window, m_picture);
    return piece;
}

void BackgroundPainter::paint(QPainter& painter, const QRect& area, QSize size, qreal ratio) const {
    const QRect window(QPoint(0, 0), size);
    if (m_picture.isNull()) {
        painter.fillRect(window, m_fill);
        return;
    }
    if (m_picture.hasAlphaChannel())
        painter.fillRect(window, m_fill);
    const bool fitted = size == m_size && ratio == m_ratio;
    if (fitted && !enlarging()) {
        // Unscaled: only the painted region is copied.
        painter.drawImage(QPoint(0, 0), m_picture);
        return;
    }
    const auto kept = std::find_if(m_pieces.begin(), m_pieces.end(),
                                   [&area](const auto& piece) { return piece.first == area; });
    if (fitted && kept != m_pieces.end()) {
        painter.drawImage(area.topLeft(), kept->second);
        return;
    }
    // Enlarging: drawn from the smaller picture, only where it is being
    // painted. A copy at the window's size would add a second screen-size
    // buffer beside the window's own.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(window, m_picture);
}

} // namespace navcal::app
