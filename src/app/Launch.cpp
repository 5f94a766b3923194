#include "app/Launch.h"

#include "layout/Pointers.h"
#include "layout/StoredDesign.h"

#include <QMessageBox>

namespace navcal::app {

LaunchMode CheckCommandLine(const QStringList& arguments) {
    return decideLaunchMode(commandText(arguments));
}

void showConfigureNotice() {
    QMessageBox box(QMessageBox::NoIcon, layout::programTitle(),
                    QStringLiteral("Конфигурации не требуется!"), QMessageBox::Ok);
    box.setObjectName(QStringLiteral("ConfigureNotice"));
    box.setWindowIcon(layout::lifebuoyIcon());
    box.exec();
}

} // namespace navcal::app
