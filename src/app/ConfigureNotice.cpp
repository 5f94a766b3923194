#include "app/ConfigureNotice.h"

#include "design/StoredDesign.h"
#include "platform/ForeignOwner.h"
#include "widgets/Pointers.h"

#include <QMessageBox>

namespace navcal::app {

using widgets::lifebuoyIcon;

void showConfigureNotice(std::optional<quint32> owner) {
    QMessageBox box(QMessageBox::NoIcon, design::programTitle(),
                    QStringLiteral("Конфигурации не требуется!"), QMessageBox::Ok);
    box.setObjectName(QStringLiteral("ConfigureNotice"));
    box.setWindowIcon(widgets::lifebuoyIcon());
    platform::ForeignOwner standOver(box, owner);
    box.exec();
}

} // namespace navcal::app
