#pragma once

#include "layout/StoredDesign.h"

#include <QFont>

namespace navcal::layout {

// Registers substitutes for the design's faces, so that a machine without
// "MS Sans Serif" or "Times New Roman" still renders Cyrillic text with a
// face of similar shape. Call once after the application object exists.
void installFontSubstitutes();

QFont designFont(const StoredFont& control);

} // namespace navcal::layout
