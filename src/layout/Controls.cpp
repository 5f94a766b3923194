#include "layout/Controls.h"

#include "layout/Resources.h"

namespace navcal::layout {

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

} // namespace

Controls::Controls(QWidget* window, TwipScale scale) : m_scale(scale) {
    ensureResources();
    std::map<Role, QObject*> withRole;
    for (const StoredControl& control : storedControls()) {
        QObject* created = nullptr;
        switch (control.kind) {
        case ControlKind::Label: {
            auto* label = new TwipLabel(control, scale, window);
            m_allLabels.append(label);
            if (control.index < 0)
                m_labels.insert(control.name, label);
            else
                m_arrays[control.name].append(label);
            created = label;
            break;
        }
        case ControlKind::Image: {
            auto* image = new ImageControl(control, scale, window);
            m_images.insert(control.name, image);
            m_allImages.append(image);
            created = image;
            break;
        }
        case ControlKind::PictureBox:
            created = new PictureBox(control, window);
            break;
        case ControlKind::Timer: {
            auto* timer = new QTimer(window);
            timer->setObjectName(control.name);
            timer->setInterval(control.interval);
            timer->setTimerType(Qt::PreciseTimer);
            m_timers.insert(control.name, timer);
            m_allTimers.append(timer);
            created = timer;
            break;
        }
        }
        if (control.role == Role::None)
            continue;
        if (withRole.contains(control.role))
            qFatal("The stored design gives one role to %s and %s",
                   qPrintable(withRole.at(control.role)->objectName()),
                   qPrintable(created->objectName()));
        withRole.emplace(control.role, created);
    }
    resolveRoles(withRole);
}

void Controls::resolveRoles(const std::map<Role, QObject*>& withRole) {
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
    r.clockTimer = byRole<QTimer>(withRole, Role::ClockTimer, "clock timer");
    r.bannerTimer = byRole<QTimer>(withRole, Role::BannerTimer, "banner timer");
    for (const MonthLayout& m : monthLayouts()) {
        MonthControls& month = r.months.at(m.month - 1);
        month.title = required(label(m.title), m.title);
        for (int j = 0; j < 7; ++j)
            month.headers[j] = required(label(m.headers[j]), m.headers[j]);
        for (int i = 0; i < kCellsPerMonth; ++i)
            month.cells[i] =
                required(cell(m.cells, i), QStringLiteral("%1(%2)").arg(m.cells).arg(i));
        month.fillTimer = required(timer(m.timer), m.timer);
    }
}

void Controls::rescale(TwipScale scale) {
    m_scale = scale;
    for (TwipLabel* label : m_allLabels)
        label->rescale(scale);
    for (ImageControl* image : m_allImages)
        image->rescale(scale);
}

TwipLabel* Controls::cell(const QString& arrayName, int index) const {
    const auto it = m_arrays.constFind(arrayName);
    if (it == m_arrays.constEnd() || index < 0 || index >= it->size())
        return nullptr;
    return it->at(index);
}

} // namespace navcal::layout
