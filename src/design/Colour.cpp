#include "design/Colour.h"

#include <QApplication>
#include <QPalette>

namespace navcal::design {

QColor toQColor(Colour colour) {
    return QColor(QRgb(colour));
}

Colour fromQColor(const QColor& c) {
    return Colour(c.rgb() & 0xFFFFFF);
}

Colour buttonTextColour() {
    return fromQColor(QApplication::palette().color(QPalette::ButtonText));
}

} // namespace navcal::design
