#pragma once

#include <QUrl>

namespace navcal::extras {

// Hands an address to the desktop's web browser.
class UrlOpener {
  public:
    virtual ~UrlOpener() = default;
    virtual void open(const QUrl& address) = 0;
};

} // namespace navcal::extras
