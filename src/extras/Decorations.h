#pragma once

#include "design/RandomPalette.h"
#include "widgets/ImageControl.h"
#include "widgets/TwipLabel.h"

#include <QObject>
#include <QPoint>
#include <QPointF>

class QMimeData;

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
    // The drop of a dragged the ship at `windowPixels`, over `target` (the window's
    // child there, nullptr on the empty background). Only the background moves
    // it; returns whether it moved.
    bool dropAt(QPoint windowPixels, const QWidget* target);
    // The pointer at `position` (pixels inside the ship) with a button held.
    void pointerMoved(QPoint position);
    // A click on the ship hides it, unless the click ends a drag.
    void shipClicked();
    // A click on a recolourable label gives it a random palette colour.
    void recolour(widgets::TwipLabel* label);

    // The payload of a drag of the ship, recognised by the window's drop handling.
    static QMimeData* dragData();
    static bool isDragData(const QMimeData* data);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    design::RandomPalette& m_palette;
    QWidget* m_window;
    widgets::ImageControl* m_image;
    QPoint m_pressPosition;
    QPointF m_dragOffset;       // where inside the ship the current drag began, in twips
    bool m_armed = false;       // a left press that may still become a drag
    bool m_dragStarted = false; // the press became a drag
};

} // namespace navcal::extras
