#include "layout/Placement.h"

namespace navcal::layout {

void placeOnScreen(const Controls& controls, float screenWidth, float screenHeight) {
    const float sw = screenWidth;
    for (ImageControl* image : controls.allImages())
        image->setLeft(sw / 2.0f - image->twipWidth() / 2.0f);
    const float dx = (sw - kArrangementWidth) / 2.0f;
    const float dy = (screenHeight - kArrangementHeight) / 2.0f;
    for (TwipLabel* label : controls.allLabels())
        label->moveTwips(label->left() + dx, label->top() + dy);

    const Roles& r = controls.roles();
    const auto centre = [sw](TwipLabel* l) { l->setLeft(sw / 2.0f - l->twipWidth() / 2.0f); };
    centre(r.credit);
    centre(r.siteAddress);
    centre(r.title);
    centre(r.clock);
    // The clock and the date line stand on September's Tuesday and Friday rows.
    r.clock->setTop(r.month(9).headers[1]->top());
    centre(r.dateLine);
    r.dateLine->setTop(r.month(9).headers[4]->top());
    r.seagull->setTop(r.month(2).title->top() - 25);
    r.flag->setTop(r.month(2).headers[1]->top());
    r.ship->setTop(r.month(10).title->top() - r.ship->twipHeight());
}

} // namespace navcal::layout
