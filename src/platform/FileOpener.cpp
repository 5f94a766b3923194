#include "platform/FileOpener.h"

#include <QDir>
#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#endif

namespace navcal::platform {

bool openWithDesktop(const QString& file) {
#ifdef Q_OS_WIN
    const std::wstring path = QDir::toNativeSeparators(file).toStdWString();
    // Values above 32 mean the shell started a program.
    return reinterpret_cast<INT_PTR>(
               ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
#else
    // The toolkit's own opener needs a display platform; this needs none.
    return QProcess::startDetached(QStringLiteral("xdg-open"), {file});
#endif
}

} // namespace navcal::platform
