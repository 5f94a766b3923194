#pragma once

#include "layout/StoredDesign.h"

#include <QLabel>
#include <QPixmap>

namespace navcal::layout {

// An image of the stored design: shows its picture unscaled with transparency,
// geometry in twips.
class ImageControl : public QLabel {
    Q_OBJECT
  public:
    ImageControl(const ControlSpec& spec, double twipsPerPixel, QWidget* parent);

    const QString& storedName() const { return m_name; }
    float left() const { return m_left; }
    float top() const { return m_top; }
    float twipWidth() const { return m_width; }
    float twipHeight() const { return m_height; }
    void setLeft(float left);
    void setTop(float top);
    void moveTwips(float left, float top);
    double twipsPerPixel() const { return m_twipsPerPixel; }
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
    void applyGeometry();

    QString m_name;
    float m_left, m_top, m_width, m_height;
    double m_twipsPerPixel;
    QPixmap m_picture;
    bool m_pressed = false;
};

// The hidden picture box that holds the background picture.
class PictureBox : public QWidget {
    Q_OBJECT
  public:
    PictureBox(const ControlSpec& spec, QWidget* parent);
    const QImage& picture() const { return m_picture; }
    void setPicture(const QImage& picture) { m_picture = picture; }

  private:
    QImage m_picture;
};

} // namespace navcal::layout
