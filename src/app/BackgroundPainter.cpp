#include "app/BackgroundPainter.h"

#include "app/BackgroundDecode.h"
#include "widgets/ImageControl.h"

#include <QPainter>
#include <algorithm>

namespace navcal::app {

void BackgroundPainter::paint(QPainter& painter, widgets::PictureBox& box, const QRect& area,
                              QSize size, qreal ratio, QColor fill) {
    const QRect window(QPoint(0, 0), size);
    if (box.picture().isNull()) {
        painter.fillRect(window, fill);
        return;
    }
    const QSize pixels = (QSizeF(size) * ratio).toSize();
    const QSize held = box.picture().size();
    if (held != pixels && held.width() >= pixels.width() && held.height() >= pixels.height()) {
        // A smaller window: the one copy is shrunk to it, once, so that a
        // repainted label costs a copy of its rectangle, never a rescale.
        box.setPicture(shrunkTo(box.picture(), pixels));
    }
    QImage picture = box.picture();
    if (picture.hasAlphaChannel())
        painter.fillRect(window, fill);
    if (picture.size() == pixels) {
        picture.setDevicePixelRatio(ratio);
        // Unscaled: only the painted region is copied.
        painter.drawImage(QPoint(0, 0), picture);
        return;
    }
    // Enlarging: drawn from the smaller picture, only where it is being
    // painted. A copy at the window's size would add a second screen-size
    // buffer beside the window's own.
    if (const QImage* piece = enlargedPiece(area, picture, size, ratio, fill)) {
        painter.drawImage(area.topLeft(), *piece);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(window, picture);
}

const QImage* BackgroundPainter::enlargedPiece(const QRect& area, const QImage& picture, QSize size,
                                               qreal ratio, QColor fill) {
    // The clock repaints its rectangle every second and the banner its own:
    // the enlarged picture under a small rectangle painted again is kept
    // ready, so that an idle second is a copy, not a smooth scaling (which a
    // large screen spreads over drawing threads). Whole device pixels only,
    // where the piece's scaling is the window's own.
    const QRectF device(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio);
    if (area.isEmpty() || device.topLeft() != QPointF(device.toRect().topLeft()) ||
        qint64(area.width()) * area.height() * 32 > qint64(size.width()) * size.height())
        return nullptr;
    const std::pair<qint64, QSize> source{picture.cacheKey(), size};
    if (source != m_piecesFrom) {
        m_pieces.clear();
        m_paintedAreas.clear();
        m_piecesFrom = source;
    }
    const auto kept = std::find_if(m_pieces.begin(), m_pieces.end(),
                                   [&area](const auto& piece) { return piece.first == area; });
    if (kept != m_pieces.end()) {
        // The most recently used first.
        std::rotate(m_pieces.begin(), kept, std::next(kept));
        return &m_pieces.front().second;
    }
    // A rectangle painted once (a day cell as it fills) is not worth a piece.
    if (!m_paintedAreas.contains(area)) {
        if (m_paintedAreas.size() >= qsizetype(2 * kKeptPieces))
            m_paintedAreas.removeFirst();
        m_paintedAreas.append(area);
        return nullptr;
    }
    QImage piece(device.size().toSize(), picture.hasAlphaChannel()
                                             ? QImage::Format_ARGB32_Premultiplied
                                             : QImage::Format_RGB32);
    piece.setDevicePixelRatio(ratio);
    {
        const QRect window(QPoint(0, 0), size);
        QPainter painter(&piece);
        painter.translate(-area.topLeft());
        if (picture.hasAlphaChannel())
            painter.fillRect(window, fill);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(window, picture);
    }
    if (m_pieces.size() >= kKeptPieces)
        m_pieces.pop_back();
    m_pieces.emplace(m_pieces.begin(), area, std::move(piece));
    return &m_pieces.front().second;
}

} // namespace navcal::app
