#include "platform/DataFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>
#endif

namespace navcal::platform {

QString userDataFolder() {
#ifdef Q_OS_WIN
    PWSTR path = nullptr;
    QString folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DONT_VERIFY, nullptr, &path)))
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(path));
    CoTaskMemFree(path);
    if (folder.isEmpty() || QDir::isRelativePath(folder))
        return {};
    return QDir(folder).filePath(QStringLiteral("navcal"));
#else
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    // A relative XDG_DATA_HOME is invalid by the XDG base directory rules: ignore it.
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome)) {
        // A missing or relative HOME names no folder of this user's: then
        // there is no folder at all, rather than one in "/" or in whatever
        // folder the program was started from.
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty() || QDir::isRelativePath(home))
            return {};
        dataHome = home + QStringLiteral("/.local/share");
    }
    return QDir(dataHome).filePath(QStringLiteral("navcal"));
#endif
}

QString systemDataFolder() {
#ifdef Q_OS_WIN
    wchar_t buffer[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        return QDir::fromNativeSeparators(QString::fromWCharArray(buffer, int(length)));
    return QStringLiteral("C:/WINDOWS");
#else
    return {};
#endif
}

QString documentsFolder() {
#ifndef Q_OS_WIN
    // As for the data folder: without an absolute HOME there is no folder of
    // this user's, and the toolkit's answer would be one under "/".
    const QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty() || QDir::isRelativePath(home))
        return {};
#endif
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir::isRelativePath(folder) ? QString() : folder;
}

QString programFolder() {
    return QCoreApplication::applicationDirPath();
}

} // namespace navcal::platform
