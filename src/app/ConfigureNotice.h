#pragma once

#include <optional>

#include <QtGlobal>

namespace navcal::app {

// The notice a configure request gets; returns when the user has pressed OK.
// With the host's window `owner` ("/c:HANDLE") it stands over that window
// while it is open.
void showConfigureNotice(std::optional<quint32> owner = std::nullopt);

} // namespace navcal::app
