#include "extras/Decorations.h"

#include "platform/DragPictureShape.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>

namespace navcal::extras {

namespace {

const QString kDragFormat = QStringLiteral("application/x-navcal-decoration");

} // namespace

Decorations::Decorations(widgets::ImageControl* ship, design::RandomPalette& palette,
                         QWidget* window, QObject* parent)
    : QObject(parent), m_palette(palette), m_window(window), m_image(ship) {
    // Children do not take drops, so every drop over the window reaches it.
    m_window->setAcceptDrops(true);
    m_window->installEventFilter(this);
}

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
    // Only a move past the platform's threshold is a drag; a press and release
    // without it stays a click.
    if (!m_armed ||
        (position - m_pressPosition).manhattanLength() < QApplication::startDragDistance())
        return;
    m_armed = false;
    m_dragStarted = true;
    auto* drag = new QDrag(m_image);
    drag->setMimeData(dragData());
    drag->setPixmap(m_image->picture());
    drag->setHotSpot(m_pressPosition);
    const platform::DragPictureShape shape(drag->pixmap());
    // Runs until the release; the window's drop handling moves the image.
    drag->exec(Qt::MoveAction);
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

bool Decorations::dropAt(QPoint windowPixels, const QWidget* target) {
    if (target)
        return false; // over a label, a cell, another image or itself
    const design::TwipScale& scale = m_image->scale();
    const float x = scale.twips(windowPixels.x());
    const float y = scale.twips(windowPixels.y());
    m_image->moveTwips(x - float(m_dragOffset.x()), y - float(m_dragOffset.y()));
    return true;
}

QMimeData* Decorations::dragData() {
    auto* data = new QMimeData;
    data->setData(kDragFormat, QByteArrayLiteral("ship"));
    return data;
}

bool Decorations::isDragData(const QMimeData* data) {
    return data && data->data(kDragFormat) == QByteArrayLiteral("ship");
}

bool Decorations::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* move = static_cast<QDragMoveEvent*>(event);
        if (!isDragData(move->mimeData()))
            return false;
        // The feedback shows a drop is taken only over the empty background;
        // the enter itself is always taken so that the moves keep coming.
        const QPoint at = move->position().toPoint();
        if (event->type() == QEvent::DragMove && m_window->childAt(at))
            move->ignore();
        else
            move->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!isDragData(drop->mimeData()))
            return false;
        const QPoint at = drop->position().toPoint();
        if (dropAt(at, m_window->childAt(at)))
            drop->acceptProposedAction();
        else
            drop->ignore();
        return true;
    }
    default:
        return false;
    }
}

} // namespace navcal::extras
