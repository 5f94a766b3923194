#pragma once

#include "design/StoredDesign.h"
#include "widgets/LeftClick.h"
#include "widgets/TwipPlaced.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>

namespace navcal::widgets {

// An image of the stored design: shows its picture with transparency at the
// size the arrangement's scale gives it (unscaled at factor 1), geometry in twips.
class ImageControl : public TwipPlaced<QLabel> {
    Q_OBJECT
  public:
    ImageControl(const design::StoredControl& control, const design::TwipScale& scale,
                 QWidget* parent);

    // The picture as it is shown: at the control's size and the screen's
    // pixel density.
    QPixmap picture() const;
    // The arrangement's scale has changed: the picture is shown at its size.
    void rescale();
    // The stored picture's resource path.
    const QString& source() const { return m_source; }
    // The larger rendering of the picture, read ahead for a control drawn
    // larger than the design; until it comes the stored picture is enlarged.
    void setLargeRendering(QImage large);

  signals:
    void clicked();
    void doubleClicked();
    // Raw button events, position in pixels inside the image.
    void pressed(Qt::MouseButton button, QPoint position);
    void dragMoved(QPoint position);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    LeftClick m_click;
    QString m_source;  // the stored picture's resource path
    QPixmap m_picture; // the stored picture
    QImage m_large;    // its larger rendering, when read ahead
    mutable QPixmap m_shown;
};

// The larger rendering of a stored picture (":/ship.png" has it at
// ":/ship@4x.png"), read as an image on any thread; null when there is none.
QImage readLargeRendering(const QString& picture);

// The hidden picture box that holds the background picture. Nothing is
// decoded here: start-up decodes the stored picture, or the one that replaces
// it, once and at the size the window shows it.
class PictureBox : public QWidget {
    Q_OBJECT
  public:
    PictureBox(const design::StoredControl& control, QWidget* parent);
    const QImage& picture() const { return m_picture; }
    void setPicture(QImage picture) { m_picture = std::move(picture); }

  private:
    QImage m_picture;
};

} // namespace navcal::widgets
