#pragma once

#include <QtGlobal>
#include <optional>

class QWidget;

namespace navcal::platform {

// Puts a dialog of ours over a window of another program, the host's dialog
// that asked for it (Windows' "/c:HANDLE"): that window owns ours, so ours
// stands above it, and it takes no input until ours is closed, as with any
// modal dialog. No handle, a handle that is no window, or a system without
// such hosts: nothing changes.
class ForeignOwner {
  public:
    ForeignOwner(QWidget& dialog, std::optional<quint32> owner);
    ~ForeignOwner();
    ForeignOwner(const ForeignOwner&) = delete;
    ForeignOwner& operator=(const ForeignOwner&) = delete;

  private:
    quint32 m_owner = 0;
    bool m_disabled = false;
};

} // namespace navcal::platform
