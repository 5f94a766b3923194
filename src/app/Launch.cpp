#include "app/Launch.h"

#include "design/StoredDesign.h"
#include "platform/ForeignOwner.h"
#include "widgets/Pointers.h"

#include <QMessageBox>
#include <QProcessEnvironment>

namespace navcal::app {

using widgets::lifebuoyIcon;

LaunchMode checkCommandLine(const QStringList& arguments) {
    return decideLaunchMode(commandText(arguments));
}

std::optional<platform::HostWindowRequest> hostWindowRequest(const QStringList& arguments) {
    // A host that lends its window comes before the switches of the Windows
    // host, whose reading it leaves as it is.
    if (platform::hasWindowLendingHost())
        return platform::readHostWindowRequest(arguments, QProcessEnvironment::systemEnvironment());
    const QString text = commandText(arguments);
    if (platform::hasPreviewHost() && decideLaunchMode(text) == LaunchMode::Preview) {
        if (const std::optional<quint32> window = hostHandle(text))
            return platform::HostWindowRequest{*window, {}};
    }
    return std::nullopt;
}

void showConfigureNotice(const QStringList& arguments) {
    QMessageBox box(QMessageBox::NoIcon, design::programTitle(),
                    QStringLiteral("Конфигурации не требуется!"), QMessageBox::Ok);
    box.setObjectName(QStringLiteral("ConfigureNotice"));
    box.setWindowIcon(widgets::lifebuoyIcon());
    std::optional<quint32> owner;
    if (decideLaunchMode(commandText(arguments)) == LaunchMode::Configure)
        owner = hostHandle(commandText(arguments));
    platform::ForeignOwner standOver(box, owner);
    box.exec();
}

} // namespace navcal::app
