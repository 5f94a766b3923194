#pragma once

#include "platform/UrlOpener.h"

#include <QDesktopServices>

namespace navcal::platform {

// The desktop's own opener (xdg-open on Linux, the shell on Windows).
class DesktopUrlOpener final : public UrlOpener {
  public:
    void open(const QUrl& address) override { QDesktopServices::openUrl(address); }
};

} // namespace navcal::platform
