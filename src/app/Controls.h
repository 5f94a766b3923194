#pragma once

#include "panels/MonthView.h"
#include "widgets/ImageControl.h"
#include "widgets/TwipLabel.h"

#include <QList>
#include <QPointer>
#include <array>
#include <map>
#include <vector>

namespace navcal::app {

// The controls by what they are to the program, resolved once: a design that
// lacks one does not get past construction.
struct Roles {
    widgets::TwipLabel* credit = nullptr;
    widgets::TwipLabel* siteAddress = nullptr;
    widgets::TwipLabel* clock = nullptr;
    widgets::TwipLabel* title = nullptr;
    widgets::TwipLabel* banner = nullptr;
    widgets::TwipLabel* dateLine = nullptr;
    widgets::ImageControl* seagull = nullptr;
    widgets::ImageControl* ship = nullptr;
    widgets::ImageControl* flag = nullptr;
    widgets::PictureBox* background = nullptr;
    int fillMs = 0;        // the stored fill timer's interval: the fill's pace
    int firstSecondMs = 0; // the stored clock timer's: when the clock shows its first second
    std::array<panels::MonthView*, 12> months{}; // January first

    panels::MonthView* month(int month) const { return months.at(month - 1); }
};

// The window's controls, created from the stored design as children of the
// window they were built on. What the controls read (the arrangement's scale
// and the year's fill) is held here, and the controls go before it does,
// whichever of this and the window goes first.
class Controls {
  public:
    // Creates every control of the stored design as a child of `window`,
    // placed at `scale`.
    Controls(QWidget* window, const design::TwipScale& scale);
    ~Controls();
    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;

    const Roles& roles() const { return m_roles; }
    // The year's fill, which the month views show.
    calendar::YearFill& fill() { return m_fill; }

    // Every label that is a widget of its own, in design order.
    const QList<widgets::TwipLabel*>& allLabels() const { return m_allLabels; }
    // Every image, in design order.
    const QList<widgets::ImageControl*>& allImages() const { return m_allImages; }

    // A new scale: every label, image and month view follows it; their
    // places in twips stay.
    void rescale(const design::TwipScale& scale);

  private:
    void resolveRoles(const std::map<design::Role, QObject*>& withRole,
                      const std::map<design::Role, int>& intervals,
                      const std::array<panels::MonthView*, 12>& views);

    // Declared before the controls' list: they are deleted while it lives.
    design::TwipScale m_scale;
    calendar::YearFill m_fill;
    // Every control made here; one its window already deleted is null.
    std::vector<QPointer<QWidget>> m_made;
    QList<widgets::TwipLabel*> m_allLabels;
    QList<widgets::ImageControl*> m_allImages;
    Roles m_roles;
};

} // namespace navcal::app
