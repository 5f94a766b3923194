#pragma once

#include "design/StoredDesign.h"

#include <QCursor>
#include <QIcon>

namespace navcal::widgets {

// The lifebuoy and music pointers built from the stored pictures.
QCursor pointerCursor(design::Pointer pointer);

// The lifebuoy as the window and application icon (32 and 16 pixels).
QIcon lifebuoyIcon();

} // namespace navcal::widgets
