#pragma once

#include "design/RandomPalette.h"
#include "widgets/ImageControl.h"
#include "widgets/TwipLabel.h"

#include <QObject>
#include <QPoint>
#include <QPointF>

class QLabel;

namespace navcal::extras {

// The playful reactions: the ship dragged about or hidden, labels recoloured.
class Decorations : public QObject {
    Q_OBJECT
  public:
    Decorations(widgets::ImageControl* ship, design::RandomPalette& palette, QWidget* window,
                QObject* parent = nullptr);

    // A left press on the ship at `position` (pixels inside the image): remembers
    // the grabbed point and puts the image behind every other control.
    void beginDrag(Qt::MouseButton button, QPoint position);
    // The pointer at `position` (pixels inside the ship) with a button held:
    // past the platform's threshold the press becomes a drag, and the ship's
    // picture follows the pointer.
    void pointerMoved(QPoint position);
    // The button let go at `position` (pixels inside the ship): a drag ends
    // with its drop there.
    void pointerReleased(Qt::MouseButton button, QPoint position);
    // A click on the ship hides it, unless the click ends a drag.
    void shipClicked();
    // A click on a recolourable label gives it a random palette colour.
    void recolour(widgets::TwipLabel* label);

  private:
    // Where a drop at `windowPixels` would land: the window's child there,
    // nullptr on the empty background. Only the background takes the ship.
    bool takesDropAt(QPoint windowPixels) const;

    design::RandomPalette& m_palette;
    QWidget* m_window;
    widgets::ImageControl* m_image;
    QLabel* m_dragPicture = nullptr; // a child of the window, while a drag runs
    QPoint m_pressPosition;
    QPointF m_dragOffset;       // where inside the ship the current drag began, in twips
    bool m_armed = false;       // a left press that may still become a drag
    bool m_dragging = false;    // the picture follows the pointer
    bool m_dragStarted = false; // the press became a drag
};

} // namespace navcal::extras
