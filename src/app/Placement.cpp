#include "app/Placement.h"

namespace navcal::app {

using design::kArrangementHeight;
using design::kArrangementWidth;
using widgets::ImageControl;
using widgets::TwipLabel;

namespace {

void shiftLabels(const Controls& controls, float dx, float dy) {
    for (TwipLabel* label : controls.allLabels())
        label->moveTwips(label->left() + dx, label->top() + dy);
    for (panels::MonthView* view : controls.roles().months)
        view->shift(dx, dy);
}

void centrePieces(const Roles& r, float screenWidth) {
    const auto centre = [screenWidth](TwipLabel* l) {
        l->setLeft(design::centredStart(screenWidth, l->twipWidth()));
    };
    for (TwipLabel* label : {r.credit, r.siteAddress, r.title, r.clock, r.dateLine})
        centre(label);
}

} // namespace

void placeOnScreen(const Controls& controls, float screenWidth, float screenHeight) {
    const float sw = screenWidth;
    for (ImageControl* image : controls.allImages())
        image->setLeft(design::centredStart(sw, image->twipWidth()));
    const float dx = design::centringShift(kArrangementWidth, sw);
    const float dy = design::centringShift(kArrangementHeight, screenHeight);
    shiftLabels(controls, dx, dy);

    const Roles& r = controls.roles();
    centrePieces(r, sw);
    // The clock and the date line stand on September's Tuesday and Friday rows.
    r.clock->setTop(r.month(9)->headerTop(1));
    r.dateLine->setTop(r.month(9)->headerTop(4));
    r.seagull->setTop(r.month(2)->titleTop() - 25);
    r.flag->setTop(r.month(2)->headerTop(1));
    r.ship->setTop(r.month(10)->titleTop() - r.ship->twipHeight());
}

void movePlacement(const Controls& controls, QSizeF fromScreen, QSizeF toScreen) {
    const float dx = design::centringShift(float(fromScreen.width()), float(toScreen.width()));
    const float dy = design::centringShift(float(fromScreen.height()), float(toScreen.height()));
    shiftLabels(controls, dx, dy);
    for (ImageControl* image : controls.allImages())
        image->moveTwips(image->left() + dx, image->top() + dy);
    centrePieces(controls.roles(), float(toScreen.width()));
}

} // namespace navcal::app
