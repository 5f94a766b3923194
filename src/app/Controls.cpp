#include "app/Controls.h"

#include "design/Resources.h"

#include <QHash>

namespace navcal::app {

using design::ControlKind;
using design::monthLayouts;
using design::storedControls;

using design::MonthLayout;
using design::Role;
using design::siteAddress;
using design::StoredControl;
using design::TwipScale;
using widgets::ImageControl;
using widgets::PictureBox;
using widgets::TwipLabel;

using panels::MonthView;

namespace {

template <typename T> T* required(T* control, const QString& what) {
    if (!control)
        qFatal("The stored design has no %s", qPrintable(what));
    return control;
}

// The control that has `role`, of the type the role needs.
template <typename T>
T* byRole(const std::map<Role, QObject*>& controls, Role role, const char* what) {
    const auto it = controls.find(role);
    return required(qobject_cast<T*>(it == controls.end() ? nullptr : it->second),
                    QString::fromLatin1(what));
}

using PanelParts = std::array<const StoredControl*, MonthView::kParts>;

// The stored labels of each month panel, by their place in it; the month a
// label belongs to, by its name and index.
struct MonthParts {
    std::array<PanelParts, 12> parts{};
    QHash<std::pair<QString, int>, int> monthOf;
};

MonthParts monthParts() {
    MonthParts out;
    QHash<std::pair<QString, int>, const StoredControl*> labels;
    for (const StoredControl& control : storedControls())
        if (control.kind == ControlKind::Label)
            labels.insert({control.name, control.index}, &control);
    for (const MonthLayout& m : monthLayouts()) {
        PanelParts& parts = out.parts.at(m.month - 1);
        const auto take = [&](int part, const QString& name, int index) {
            const StoredControl* control = labels.value({name, index});
            parts[std::size_t(part)] =
                required(control, index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index));
            out.monthOf.insert({name, index}, m.month);
        };
        take(0, m.title, -1);
        for (int j = 0; j < MonthView::kHeaders; ++j)
            take(1 + j, m.headers[j], -1);
        for (int i = 0; i < calendar::kMonthCells; ++i)
            take(1 + MonthView::kHeaders + i, m.cells, i);
    }
    return out;
}

} // namespace

Controls::Controls(QWidget* window, const TwipScale& scale) : m_scale(scale) {
    design::ensureResources();
    const MonthParts months = monthParts();
    std::array<MonthView*, 12> views{};
    std::map<Role, QObject*> withRole;
    // The stored timers are the heartbeat's paces, not timers of their own.
    std::map<Role, int> intervals;
    for (const StoredControl& control : storedControls()) {
        if (control.kind == ControlKind::Timer) {
            intervals.emplace(control.role, control.interval);
            continue;
        }
        QObject* created = nullptr;
        switch (control.kind) {
        case ControlKind::Label: {
            if (const int month = months.monthOf.value({control.name, control.index})) {
                // A month panel's labels are drawn by its view, made where
                // its first label stands in the design's order.
                MonthView*& view = views.at(month - 1);
                if (!view) {
                    view = new MonthView(monthLayouts().at(month - 1), months.parts.at(month - 1),
                                         m_scale, m_fill, window);
                    m_made.emplace_back(view);
                }
                created = view;
                break;
            }
            auto* label = new TwipLabel(control, m_scale, window);
            m_allLabels.append(label);
            m_made.emplace_back(label);
            created = label;
            break;
        }
        case ControlKind::Image: {
            auto* image = new ImageControl(control, m_scale, window);
            m_allImages.append(image);
            m_made.emplace_back(image);
            created = image;
            break;
        }
        case ControlKind::PictureBox: {
            auto* box = new PictureBox(control, window);
            m_made.emplace_back(box);
            created = box;
            break;
        }
        case ControlKind::Timer: // taken above
            continue;
        }
        if (control.role == Role::None)
            continue;
        if (withRole.contains(control.role))
            qFatal("The stored design gives one role to %s and %s",
                   qPrintable(withRole.at(control.role)->objectName()),
                   qPrintable(created->objectName()));
        withRole.emplace(control.role, created);
    }
    resolveRoles(withRole, intervals, views);
}

Controls::~Controls() {
    for (const QPointer<QWidget>& control : m_made)
        delete control.data();
}

void Controls::resolveRoles(const std::map<Role, QObject*>& withRole,
                            const std::map<Role, int>& intervals,
                            const std::array<panels::MonthView*, 12>& views) {
    Roles& r = m_roles;
    r.credit = byRole<TwipLabel>(withRole, Role::Credit, "credit line");
    r.siteAddress = byRole<TwipLabel>(withRole, Role::SiteAddress, "site address");
    r.clock = byRole<TwipLabel>(withRole, Role::Clock, "clock");
    r.title = byRole<TwipLabel>(withRole, Role::Title, "title");
    r.banner = byRole<TwipLabel>(withRole, Role::Banner, "banner");
    r.dateLine = byRole<TwipLabel>(withRole, Role::DateLine, "date line");
    r.seagull = byRole<ImageControl>(withRole, Role::Seagull, "seagull");
    r.ship = byRole<ImageControl>(withRole, Role::Ship, "ship");
    r.flag = byRole<ImageControl>(withRole, Role::Flag, "flag");
    r.background = byRole<PictureBox>(withRole, Role::Background, "background");
    const auto interval = [&intervals](Role role, const char* what) {
        const auto it = intervals.find(role);
        if (it == intervals.end())
            qFatal("The stored design has no %s", what);
        return it->second;
    };
    r.fillMs = interval(Role::FillTimer, "fill timer");
    r.firstSecondMs = interval(Role::ClockTimer, "clock timer");
    for (const MonthLayout& m : monthLayouts()) {
        r.months.at(m.month - 1) = required(views.at(m.month - 1), m.title);
    }
}

void Controls::rescale(const TwipScale& scale) {
    m_scale = scale;
    for (TwipLabel* label : m_allLabels)
        label->rescale();
    for (MonthView* view : m_roles.months)
        view->rescale();
    for (ImageControl* image : m_allImages)
        image->rescale();
}

} // namespace navcal::app
