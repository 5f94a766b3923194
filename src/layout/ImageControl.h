#pragma once

#include "layout/StoredDesign.h"
#include "layout/TwipPlaced.h"

#include <QLabel>
#include <QPixmap>

namespace navcal::layout {

// An image of the stored design: shows its picture unscaled with transparency,
// geometry in twips.
class ImageControl : public TwipPlaced<QLabel> {
    Q_OBJECT
  public:
    ImageControl(const StoredControl& control, double twipsPerPixel, QWidget* parent);

    const QString& storedName() const { return m_name; }
    QPixmap picture() const { return m_picture; }

  signals:
    void clicked();
    void doubleClicked();
    // Raw button events, position in pixels inside the image.
    void pressed(Qt::MouseButton button, QPoint position);
    void dragMoved(QPoint position);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QString m_name;
    QPixmap m_picture;
};

// The hidden picture box that holds the background picture.
class PictureBox : public QWidget {
    Q_OBJECT
  public:
    PictureBox(const StoredControl& control, QWidget* parent);
    const QImage& picture() const { return m_picture; }
    void setPicture(const QImage& picture) { m_picture = picture; }

  private:
    QImage m_picture;
};

} // namespace navcal::layout
