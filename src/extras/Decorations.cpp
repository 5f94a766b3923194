#include "extras/Decorations.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <utility>

namespace navcal::extras {

Decorations::Decorations(widgets::ImageControl* ship, design::RandomPalette& palette,
                         QWidget* window, QObject* parent)
    : QObject(parent), m_palette(palette), m_window(window), m_image(ship) {}

void Decorations::beginDrag(Qt::MouseButton button, QPoint position) {
    m_dragStarted = false;
    m_armed = button == Qt::LeftButton;
    if (!m_armed)
        return;
    m_pressPosition = position;
    const design::TwipScale& scale = m_image->scale();
    m_dragOffset = QPointF(scale.twips(position.x()), scale.twips(position.y()));
    m_image->lower();
}

void Decorations::pointerMoved(QPoint position) {
    if (m_armed) {
        // Only a move past the platform's threshold is a drag; a press and
        // release without it stays a click.
        if ((position - m_pressPosition).manhattanLength() < QApplication::startDragDistance())
            return;
        m_armed = false;
        m_dragStarted = true;
        m_dragging = true;
        // Drawn by the window's own paint, over every control and the
        // background, so its see-through parts show what lies beneath on
        // every platform; it takes no pointer, so what lies beneath is where
        // it drops. It lives as long as the drag.
        m_dragPicture = new QLabel(m_window);
        m_dragPicture->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_dragPicture->setPixmap(m_image->picture());
        m_dragPicture->resize(m_image->size());
        m_dragPicture->show();
        QGuiApplication::setOverrideCursor(Qt::DragMoveCursor);
    }
    if (!m_dragging)
        return;
    const QPoint at = m_image->mapTo(m_window, position);
    m_dragPicture->move(at - m_pressPosition);
    // The pointer shows whether a drop would be taken here.
    QGuiApplication::changeOverrideCursor(takesDropAt(at) ? Qt::DragMoveCursor
                                                          : Qt::ForbiddenCursor);
}

void Decorations::pointerReleased(Qt::MouseButton button, QPoint position) {
    if (!m_dragging || button != Qt::LeftButton)
        return;
    m_dragging = false;
    delete std::exchange(m_dragPicture, nullptr);
    QGuiApplication::restoreOverrideCursor();
    const QPoint at = m_image->mapTo(m_window, position);
    if (!takesDropAt(at))
        return; // over a label, a cell, another image, itself or off the window
    const design::TwipScale& scale = m_image->scale();
    m_image->moveTwips(scale.twips(at.x()) - float(m_dragOffset.x()),
                       scale.twips(at.y()) - float(m_dragOffset.y()));
}

bool Decorations::takesDropAt(QPoint windowPixels) const {
    return m_window->rect().contains(windowPixels) && !m_window->childAt(windowPixels);
}

void Decorations::recolour(widgets::TwipLabel* label) {
    label->setColour(m_palette.draw());
}

void Decorations::shipClicked() {
    // The release that ends a drag is not a click.
    if (m_dragStarted)
        return;
    m_armed = false;
    m_image->setVisible(false);
}

} // namespace navcal::extras
