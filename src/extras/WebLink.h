#pragma once

#include "platform/UrlOpener.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

namespace navcal::extras {

// Click on the site address: the internet shortcut beside the program, the address to
// the browser, and the end of the program.
class WebLink : public QObject {
    Q_OBJECT
  public:
    WebLink(platform::UrlOpener& opener, QString programFolder, QUrl address,
            std::function<void()> endProgram, QObject* parent = nullptr);

    // Writes the shortcut, hands the address to the opener, deletes the
    // shortcut and ends the program. A step that fails is skipped silently.
    void follow();

    // The shortcut's bytes: two CR LF lines in the system's 8-bit code page.
    static QByteArray shortcutContents(const QUrl& address);
    // The shortcut's full path in the program folder.
    QString shortcutPath() const;

  private:
    bool writeShortcut() const;

    platform::UrlOpener& m_opener;
    QString m_programFolder;
    QUrl m_address;
    std::function<void()> m_endProgram;
};

} // namespace navcal::extras
