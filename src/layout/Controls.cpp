#include "layout/Controls.h"

#include "layout/Resources.h"

namespace navcal::layout {

Controls::Controls(QWidget* window, double twipsPerPixel) : m_twipsPerPixel(twipsPerPixel) {
    ensureResources();
    for (const ControlSpec& spec : storedControls()) {
        switch (spec.kind) {
        case ControlKind::Label: {
            auto* label = new TwipLabel(spec, twipsPerPixel, window);
            m_allLabels.append(label);
            if (spec.index < 0)
                m_labels.insert(spec.name, label);
            else
                m_arrays[spec.name].append(label);
            break;
        }
        case ControlKind::Image: {
            auto* image = new ImageControl(spec, twipsPerPixel, window);
            m_images.insert(spec.name, image);
            m_allImages.append(image);
            break;
        }
        case ControlKind::PictureBox:
            m_pctFon = new PictureBox(spec, window);
            break;
        case ControlKind::Timer: {
            auto* timer = new QTimer(window);
            timer->setObjectName(spec.name);
            timer->setInterval(spec.interval);
            timer->setTimerType(Qt::PreciseTimer);
            m_timers.insert(spec.name, timer);
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
