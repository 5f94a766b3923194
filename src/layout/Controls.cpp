#include "layout/Controls.h"

#include "layout/Resources.h"

namespace navcal::layout {

Controls::Controls(QWidget* window, TwipScale scale) : m_scale(scale) {
    ensureResources();
    for (const StoredControl& control : storedControls()) {
        switch (control.kind) {
        case ControlKind::Label: {
            auto* label = new TwipLabel(control, scale, window);
            m_allLabels.append(label);
            if (control.index < 0)
                m_labels.insert(control.name, label);
            else
                m_arrays[control.name].append(label);
            break;
        }
        case ControlKind::Image: {
            auto* image = new ImageControl(control, scale, window);
            m_images.insert(control.name, image);
            m_allImages.append(image);
            break;
        }
        case ControlKind::PictureBox:
            m_pctFon = new PictureBox(control, window);
            break;
        case ControlKind::Timer: {
            auto* timer = new QTimer(window);
            timer->setObjectName(control.name);
            timer->setInterval(control.interval);
            timer->setTimerType(Qt::PreciseTimer);
            m_timers.insert(control.name, timer);
            m_allTimers.append(timer);
            break;
        }
        }
    }
}

TwipLabel* Controls::cell(const QString& arrayName, int index) const {
    const auto it = m_arrays.constFind(arrayName);
    if (it == m_arrays.constEnd() || index < 0 || index >= it->size())
        return nullptr;
    return it->at(index);
}

} // namespace navcal::layout
