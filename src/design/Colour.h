#pragma once

#include "calendar/Colour.h"

#include <QColor>
#include <QtGlobal>

namespace navcal::design {

using calendar::Colour;
namespace colours = calendar::colours;

// The stored design writes colours low byte red (0x00BBGGRR).
constexpr Colour fromStoredBgr(quint32 bgr) {
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

// The system's button-text colour, the one a label without a stored colour takes.
Colour buttonTextColour();
QColor toQColor(Colour colour);
Colour fromQColor(const QColor& colour);

} // namespace navcal::design
