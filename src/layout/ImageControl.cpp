#include "layout/ImageControl.h"

#include "layout/Pointers.h"

#include <QMouseEvent>
#include <cmath>

namespace navcal::layout {

ImageControl::ImageControl(const StoredControl& control, double twipsPerPixel, QWidget* parent)
    : TwipPlaced<QLabel>(control, twipsPerPixel, parent), m_name(control.name),
      m_picture(control.picture) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setToolTip(control.toolTip);
    setCursor(pointerCursor(control.pointer));
    setScaledContents(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (!m_picture.isNull()) {
        setPixmap(m_picture);
        // An image shows its picture unscaled: its size is the picture's.
        setPixelSize(m_picture.width(), m_picture.height());
    }
    applyGeometry();
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    notePress(event);
    emit pressed(event->button(), event->position().toPoint());
}

void ImageControl::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (event->buttons() & Qt::LeftButton)
        emit dragMoved(event->position().toPoint());
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
    if (releaseClicks(event))
        emit clicked();
}

void ImageControl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (noteDoubleClick(event, false))
        emit doubleClicked();
}

PictureBox::PictureBox(const StoredControl& control, QWidget* parent)
    : QWidget(parent), m_picture(control.picture) {
    setObjectName(control.objectName());
    setVisible(false);
}

} // namespace navcal::layout
