#pragma once

#include "app/CalendarWindow.h"

#include <QColor>
#include <QImage>
#include <cstdlib>
#include <optional>

namespace navcal::test {

// A label of the stored design as the user sees it, whether it is a widget of
// its own or one that its month panel draws.
struct DrawnLabel {
    QString caption;
    QString tip;
    float left = 0, top = 0, twipWidth = 0;
    QRect pixels; // in the window
    QFont font;
    design::Colour colour = 0;
};

// By the name the stored design gives it ("Label11", "Label10(7)"), for
// checks that walk the stored design.
inline std::optional<DrawnLabel> drawnLabel(app::CalendarWindow& form, const QString& objectName) {
    if (const auto* l = form.findChild<widgets::TwipLabel*>(objectName))
        return DrawnLabel{l->caption(),   l->tooltip(),  l->left(), l->top(),
                          l->twipWidth(), l->geometry(), l->font(), l->colour()};
    for (const panels::MonthView* v : form.controls().monthViews())
        for (int p = 0; p < panels::MonthView::kParts; ++p)
            if (const auto look = v->look(p); v->stored(p).objectName() == objectName)
                return DrawnLabel{look.caption,    look.tip,         v->box(p).left, v->box(p).top,
                                  v->box(p).width, v->partPixels(p), v->partFont(p), look.colour};
    return std::nullopt;
}

// Opaque pixels within a small distance of a pure colour: what text drawn in
// that colour leaves, apart from its blended edges.
inline int pixelsNear(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.alpha() == 255 && std::abs(c.red() - colour.red()) < 48 &&
                     std::abs(c.green() - colour.green()) < 48 &&
                     std::abs(c.blue() - colour.blue()) < 48;
        }
    return count;
}

} // namespace navcal::test
