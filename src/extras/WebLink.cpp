// PLACEHOLDER: replaced by the web link.
#include "extras/WebLink.h"

namespace navcal::extras {
WebLink::WebLink(UrlOpener& opener, QString programFolder, QUrl address,
                 std::function<void()> endProgram, QObject* parent)
    : QObject(parent), m_opener(opener), m_programFolder(std::move(programFolder)),
      m_address(std::move(address)), m_endProgram(std::move(endProgram)) {}
void WebLink::follow() {}
} // namespace navcal::extras
