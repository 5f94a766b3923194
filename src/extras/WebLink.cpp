#include "extras/WebLink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

namespace navcal::extras {

namespace {

// Qt names files in UTF-8 on every platform; so does a char8_t path.
std::filesystem::path fsPath(const QString& name) {
    const QByteArray utf8 = name.toUtf8();
    return std::u8string(reinterpret_cast<const char8_t*>(utf8.constData()), size_t(utf8.size()));
}

} // namespace

WebLink::WebLink(platform::UrlOpener& opener, QString programFolder, QUrl address,
                 std::function<void()> endProgram, QObject* parent)
    : QObject(parent), m_opener(opener), m_programFolder(std::move(programFolder)),
      m_address(std::move(address)), m_endProgram(std::move(endProgram)) {}

QByteArray WebLink::shortcutContents(const QUrl& address) {
    QByteArray bytes = QByteArrayLiteral("[InternetShortcut]\r\n");
    bytes += (QStringLiteral("URL=") + address.toString(QUrl::FullyEncoded)).toLocal8Bit();
    bytes += "\r\n";
    return bytes;
}

QString WebLink::shortcutPath() const {
    return QDir(m_programFolder).filePath(QStringLiteral("TEMP.URL"));
}

bool WebLink::writeShortcut() const {
    // A fresh file renamed over the name replaces whatever stood there, a
    // planted symlink included, instead of writing through it to its target.
    // QTemporaryFile::close() keeps the file open and Windows renames no open
    // file: the rename waits for the end of `temp`.
    QString tempName;
    {
        QTemporaryFile temp(QDir(m_programFolder).filePath(QStringLiteral("TEMP.URL.XXXXXX")));
        temp.setAutoRemove(true);
        if (!temp.open())
            return false;
        const QByteArray bytes = shortcutContents(m_address);
        if (temp.write(bytes) != bytes.size() || !temp.flush())
            return false;
        temp.setAutoRemove(false);
        tempName = temp.fileName();
    }
    std::error_code error;
    std::filesystem::rename(fsPath(tempName), fsPath(shortcutPath()), error);
    if (error) {
        QFile::remove(tempName);
        return false;
    }
    return true;
}

void WebLink::follow() {
    const bool written = writeShortcut();
    // The opener gets the address itself, so deleting the shortcut at once
    // cannot take it away from under the browser.
    m_opener.open(m_address);
    if (written)
        QFile::remove(shortcutPath());
    if (m_endProgram)
        m_endProgram();
}

} // namespace navcal::extras
