#pragma once

#include "app/CommandLine.h"
#include "platform/HostWindow.h"

#include <optional>

namespace navcal::app {

// The command-line decision taken before anything is shown.
LaunchMode checkCommandLine(const QStringList& arguments);

// The host's window to draw in, if the host lent one: XScreenSaver's on X11
// (its switches and variable), the settings dialog's preview on Windows
// ("/p HANDLE"). None: not a hosted run; a "/p" without a usable handle then
// ends at once as a preview request.
std::optional<platform::HostWindowRequest> hostWindowRequest(const QStringList& arguments);

// The notice a configure request gets; returns when the user has pressed OK.
// A host's "/c:HANDLE" makes it stand over that window while it is open.
void showConfigureNotice(const QStringList& arguments = {});

} // namespace navcal::app
