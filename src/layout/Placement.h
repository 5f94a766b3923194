#pragma once

#include "layout/Controls.h"

namespace navcal::layout {

// Start-up placement for a screen of the given size in twips: the pictures
// centred across it, every label moved so that the stored arrangement stands
// in its middle, and the centre pieces put on their lines.
void placeOnScreen(const Controls& controls, float screenWidth, float screenHeight);

} // namespace navcal::layout
