#include "widgets/ImageControl.h"

#include "widgets/Pointers.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace navcal::widgets {

using design::StoredControl;
using design::TwipScale;

namespace {

QString largeRenderingPath(const QString& picture) {
    const QFileInfo info(picture);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral("@4x.") +
           info.suffix();
}

} // namespace

QImage readLargeRendering(const QString& picture) {
    const QString large = largeRenderingPath(picture);
    return QFileInfo::exists(large) ? QImage(large) : QImage();
}

ImageControl::ImageControl(const StoredControl& control, const TwipScale& scale, QWidget* parent)
    : TwipPlaced<QLabel>(control, scale, parent), m_source(control.picture),
      m_picture(control.picture) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setToolTip(control.tooltip);
    setCursor(pointerCursor(control.pointer));
    if (!m_picture.isNull()) {
        // Its size is the picture's, scaled with the arrangement.
        setDesignPixelSize(m_picture.width(), m_picture.height());
    }
    applyGeometry();
}

void ImageControl::rescale() {
    if (!m_picture.isNull())
        setDesignPixelSize(m_picture.width(), m_picture.height());
    applyGeometry();
}

void ImageControl::setLargeRendering(QImage large) {
    m_large = std::move(large);
    m_shown = QPixmap();
    update();
}

QPixmap ImageControl::picture() const {
    if (m_picture.isNull())
        return m_picture;
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (m_shown.size() != pixels || m_shown.devicePixelRatio() != ratio) {
        // Scaled once per size, from the largest source held: no blur when
        // scaled up. Nothing is read from a file here, inside a paint.
        if (pixels == m_picture.size() || pixels.isEmpty()) {
            m_shown = m_picture;
        } else {
            m_shown = (m_large.isNull() ? m_picture : QPixmap::fromImage(m_large))
                          .scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        m_shown.setDevicePixelRatio(ratio);
    }
    return m_shown;
}

void ImageControl::paintEvent(QPaintEvent*) {
    const QPixmap shown = picture();
    if (shown.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, shown);
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    m_click.press(event);
    emit pressed(event->button(), event->position().toPoint());
}

void ImageControl::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (event->buttons() & Qt::LeftButton)
        emit dragMoved(event->position().toPoint());
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
    if (m_click.release(event, rect().contains(event->position().toPoint())))
        emit clicked();
}

void ImageControl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (m_click.doubleClick(event, false))
        emit doubleClicked();
}

PictureBox::PictureBox(const StoredControl& control, QWidget* parent) : QWidget(parent) {
    setObjectName(control.objectName());
    setVisible(false);
}

} // namespace navcal::widgets
