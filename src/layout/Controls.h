#pragma once

#include "layout/ImageControl.h"
#include "layout/TwipLabel.h"

#include <QHash>
#include <QList>
#include <QTimer>

namespace navcal::layout {

// The window's controls, created from the stored design and addressed by
// their stored names. Owned by the window they were built on.
class Controls {
  public:
    // Creates every control of the stored design as a child of `window`,
    // scaled by `scale`.
    Controls(QWidget* window, TwipScale scale);

    TwipLabel* label(const QString& name) const { return m_labels.value(name); }
    // An element of a day-cell array, or nullptr for an index that does not exist.
    TwipLabel* cell(const QString& arrayName, int index) const;
    ImageControl* image(const QString& name) const { return m_images.value(name); }
    QTimer* timer(const QString& name) const { return m_timers.value(name); }
    PictureBox* pctFon() const { return m_pctFon; }

    // Every label, single ones and array elements, in design order.
    const QList<TwipLabel*>& allLabels() const { return m_allLabels; }
    const QList<ImageControl*>& allImages() const { return m_allImages; }
    const QList<QTimer*>& allTimers() const { return m_allTimers; }

    const TwipScale& scale() const { return m_scale; }

  private:
    TwipScale m_scale;
    QHash<QString, TwipLabel*> m_labels;
    QHash<QString, QList<TwipLabel*>> m_arrays;
    QHash<QString, ImageControl*> m_images;
    QHash<QString, QTimer*> m_timers;
    QList<TwipLabel*> m_allLabels;
    QList<ImageControl*> m_allImages;
    QList<QTimer*> m_allTimers;
    PictureBox* m_pctFon = nullptr;
};

} // namespace navcal::layout
