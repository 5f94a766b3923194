#pragma once

#include "layout/StoredDesign.h"
#include "layout/TwipPlaced.h"

#include <QLabel>
#include <QPixmap>

namespace navcal::layout {

// An image of the stored design: shows its picture with transparency at the
// size the arrangement's scale gives it (unscaled at factor 1), geometry in twips.
class ImageControl : public TwipPlaced<QLabel> {
    Q_OBJECT
  public:
    ImageControl(const StoredControl& control, TwipScale scale, QWidget* parent);

    const QString& storedName() const { return m_name; }
    // The picture as it is shown: at the control's size and the screen's
    // pixel density.
    QPixmap picture() const;
    // Takes the arrangement's new scale: the picture is shown at its size.
    void rescale(TwipScale scale);

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
    QString m_name;
    QString m_source;  // the stored picture's resource path
    QPixmap m_picture; // the stored picture
    mutable QPixmap m_shown;
};

// The hidden picture box that holds the background picture. Nothing is
// decoded here: start-up decodes the stored picture, or the one that replaces
// it, once and at the size the window shows it.
class PictureBox : public QWidget {
    Q_OBJECT
  public:
    PictureBox(const StoredControl& control, QWidget* parent);
    // The stored picture's resource path.
    const QString& storedPicture() const { return m_stored; }
    const QImage& picture() const { return m_picture; }
    void setPicture(QImage picture) { m_picture = std::move(picture); }

  private:
    QString m_stored;
    QImage m_picture;
};

} // namespace navcal::layout
