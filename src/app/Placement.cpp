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
    for (panels::MonthView* view : controls.monthViews())
        view->shift(dx, dy);
}

void centrePieces(const Roles& r, float screenWidth) {
    const auto centre = [screenWidth](TwipLabel* l) {
        l->setLeft(screenWidth / 2.0f - l->twipWidth() / 2.0f);
    };
    for (TwipLabel* label : {r.credit, r.siteAddress, r.title, r.clock, r.dateLine})
        centre(label);
}

} // namespace

void placeOnScreen(const Controls& controls, float screenWidth, float screenHeight) {
    const float sw = screenWidth;
    for (ImageControl* image : controls.allImages())
        image->setLeft(sw / 2.0f - image->twipWidth() / 2.0f);
    const float dx = (sw - kArrangementWidth) / 2.0f;
    const float dy = (screenHeight - kArrangementHeight) / 2.0f;
    shiftLabels(controls, dx, dy);

    const Roles& r = controls.roles();
    centrePieces(r, sw);
    // The clock and the date line stand on September's Tuesday and Friday rows.
    r.clock->setTop(r.month(9).view->headerTop(1));
    r.dateLine->setTop(r.month(9).view->headerTop(4));
    r.seagull->setTop(r.month(2).view->titleTop() - 25);
    r.flag->setTop(r.month(2).view->headerTop(1));
    r.ship->setTop(r.month(10).view->titleTop() - r.ship->twipHeight());
}

void movePlacement(const Controls& controls, QSizeF fromScreen, QSizeF toScreen) {
    const float dx = float(toScreen.width() - fromScreen.width()) / 2.0f;
    const float dy = float(toScreen.height() - fromScreen.height()) / 2.0f;
    shiftLabels(controls, dx, dy);
    for (ImageControl* image : controls.allImages())
        image->moveTwips(image->left() + dx, image->top() + dy);
    centrePieces(controls.roles(), float(toScreen.width()));
}

} // namespace navcal::app
