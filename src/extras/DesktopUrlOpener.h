#pragma once

#include "extras/UrlOpener.h"

#include <QDesktopServices>

namespace navcal::extras {

// The desktop's own opener (xdg-open on Linux, the shell on Windows).
class DesktopUrlOpener final : public UrlOpener {
  public:
    void open(const QUrl& address) override { QDesktopServices::openUrl(address); }
};

} // namespace navcal::extras
