#pragma once

#include "design/StoredDesign.h"

#include <QFont>

namespace navcal::design {

// Registers substitutes for the design's faces, so that a machine without
// "MS Sans Serif" or "Times New Roman" still renders Cyrillic text with a
// face of similar shape. Call once after the application object exists.
void installFontSubstitutes();

// The stored font; `factor` scales its point size with the arrangement, so
// text is drawn at its scaled size rather than scaled as a bitmap.
QFont designFont(const StoredFont& control, double factor = 1.0);

} // namespace navcal::design
