#pragma once

#include <QObject>
#include <QRegion>

class QPixmap;

namespace navcal::platform {

// Qt shows a drag's picture in a small window of its own. On an X11 desktop
// without a compositor that window cannot be see-through: Qt paints it white
// under the picture and means to cut it to the picture's shape, but the shape
// does not reach the window, so the picture moves in a white box. While one of
// these lives (around the drag's run), a picture window that appears is given
// that shape. Elsewhere (a compositor, Wayland, Windows) it does nothing.
class DragPictureShape : public QObject {
  public:
    explicit DragPictureShape(const QPixmap& picture);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QRegion m_shape;
};

} // namespace navcal::platform
