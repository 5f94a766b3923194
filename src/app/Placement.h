#pragma once

#include "app/Controls.h"

namespace navcal::app {

// Start-up placement for a screen of the given size in twips: the pictures
// centred across it, every label moved so that the stored arrangement stands
// in its middle, and the centre pieces put on their lines.
void placeOnScreen(const Controls& controls, float screenWidth, float screenHeight);

// Carries an arrangement placed for one screen over to another (sizes in
// twips): everything moves with the centre of the screen, so what the user
// moved keeps its place in the arrangement, and the centre pieces are
// centred again on their widths at the new scale.
void movePlacement(const Controls& controls, QSizeF fromScreen, QSizeF toScreen);

} // namespace navcal::app
