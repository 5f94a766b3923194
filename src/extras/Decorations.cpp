// PLACEHOLDER: replaced by the decorations.
#include "extras/Decorations.h"

namespace navcal::extras {
Decorations::Decorations(layout::Controls& controls, app::RandomPalette& palette, QWidget* window,
                         QObject* parent)
    : QObject(parent), m_controls(controls), m_palette(palette), m_window(window) {}
} // namespace navcal::extras
