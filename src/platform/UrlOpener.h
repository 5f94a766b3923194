#pragma once

#include <QUrl>

namespace navcal::platform {

// Hands an address to the desktop's web browser.
class UrlOpener {
  public:
    virtual ~UrlOpener() = default;
    virtual void open(const QUrl& address) = 0;
};

} // namespace navcal::platform
