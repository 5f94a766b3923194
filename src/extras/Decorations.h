#pragma once

#include "app/RandomPalette.h"
#include "layout/Controls.h"

#include <QObject>

namespace navcal::extras {

// The playful reactions: Image2 dragged about or hidden, labels recoloured.
class Decorations : public QObject {
    Q_OBJECT
public:
    Decorations(layout::Controls& controls, app::RandomPalette& palette, QWidget* window,
                QObject* parent = nullptr);

    float DragOffsetX = 0;
    float DragOffsetY = 0;

private:
    layout::Controls& m_controls;
    app::RandomPalette& m_palette;
    QWidget* m_window;
};

} // namespace navcal::extras
