#include "layout/ImageControl.h"

#include "layout/Pointers.h"

#include <QMouseEvent>
#include <cmath>

namespace navcal::layout {

ImageControl::ImageControl(const ControlSpec& spec, double twipsPerPixel, QWidget* parent)
    : QLabel(parent), m_name(spec.name), m_left(spec.left), m_top(spec.top), m_width(spec.width),
      m_height(spec.height), m_twipsPerPixel(twipsPerPixel), m_picture(spec.picture) {
    setObjectName(spec.objectName());
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
    setToolTip(spec.toolTip);
    setCursor(pointerCursor(spec.pointer));
    setScaledContents(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (!m_picture.isNull()) {
        setPixmap(m_picture);
        // An image shows its picture unscaled: its size is the picture's.
        m_width = float(m_picture.width() * twipsPerPixel);
        m_height = float(m_picture.height() * twipsPerPixel);
    }
    applyGeometry();
}

void ImageControl::setLeft(float left) {
    m_left = left;
    applyGeometry();
}

void ImageControl::setTop(float top) {
    m_top = top;
    applyGeometry();
}

void ImageControl::moveTwips(float left, float top) {
    m_left = left;
    m_top = top;
    applyGeometry();
}

void ImageControl::applyGeometry() {
    const double tpp = m_twipsPerPixel;
    setGeometry(int(std::lround(m_left / tpp)), int(std::lround(m_top / tpp)),
                int(std::lround(m_width / tpp)), int(std::lround(m_height / tpp)));
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    event->accept();
    m_pressed = event->button() == Qt::LeftButton;
    emit pressed(event->button(), event->position().toPoint());
}

void ImageControl::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (event->buttons() & Qt::LeftButton)
        emit dragMoved(event->position().toPoint());
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton && m_pressed) {
        m_pressed = false;
        if (rect().contains(event->position().toPoint()))
            emit clicked();
    }
}

void ImageControl::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton) {
        m_pressed = false;
        emit doubleClicked();
    }
}

PictureBox::PictureBox(const ControlSpec& spec, QWidget* parent)
    : QWidget(parent), m_picture(spec.picture) {
    setObjectName(spec.objectName());
    setVisible(false);
}

} // namespace navcal::layout
