#pragma once

#include "extras/UrlOpener.h"

#include <QObject>
#include <QString>
#include <functional>

namespace navcal::extras {

// Click on Label2: the internet shortcut beside the program, the address to
// the browser, and the end of the program.
class WebLink : public QObject {
    Q_OBJECT
public:
    WebLink(UrlOpener& opener, QString programFolder, QUrl address,
            std::function<void()> endProgram, QObject* parent = nullptr);

    void follow();

private:
    UrlOpener& m_opener;
    QString m_programFolder;
    QUrl m_address;
    std::function<void()> m_endProgram;
};

} // namespace navcal::extras
