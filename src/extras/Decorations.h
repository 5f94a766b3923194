#pragma once

#include "app/RandomPalette.h"
#include "layout/Controls.h"

#include <QObject>
#include <QPoint>

class QDrag;
class QMimeData;

namespace navcal::extras {

// The playful reactions: Image2 dragged about or hidden, labels recoloured.
class Decorations : public QObject {
    Q_OBJECT
  public:
    Decorations(layout::Controls& controls, app::RandomPalette& palette, QWidget* window,
                QObject* parent = nullptr);

    // Where inside Image2 the current drag began, in twips.
    float DragOffsetX = 0;
    float DragOffsetY = 0;

    // A left press on Image2 at `position` (pixels inside the image): remembers
    // the grabbed point and puts the image behind every other control.
    void beginDrag(Qt::MouseButton button, QPoint position);
    // The drop of a dragged Image2 at `windowPixels`, over `target` (the window's
    // child there, nullptr on the empty background). Only the background moves
    // it; returns whether it moved.
    bool dropAt(QPoint windowPixels, const QWidget* target);

    // The payload of a drag of Image2, recognised by the window's drop handling.
    static QMimeData* dragData();
    static bool isDragData(const QMimeData* data);

    // Whether a drag has started since the last press (its release is no click).
    bool dragging() const { return m_dragStarted; }

  signals:
    // A drag of Image2 is about to run, with its payload and feedback set.
    void dragStarted(QDrag* drag);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void pointerMoved(QPoint position);
    void imageClicked();

    layout::Controls& m_controls;
    app::RandomPalette& m_palette;
    QWidget* m_window;
    layout::ImageControl* m_image;
    QPoint m_pressPosition;
    bool m_armed = false;       // a left press that may still become a drag
    bool m_dragStarted = false; // the press became a drag
};

} // namespace navcal::extras
