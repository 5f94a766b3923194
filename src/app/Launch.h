#pragma once

#include "app/CommandLine.h"

namespace navcal::app {

// The command-line decision taken before anything is shown.
LaunchMode CheckCommandLine(const QStringList& arguments);

// The notice a configure request gets; returns when the user has pressed OK.
void showConfigureNotice();

} // namespace navcal::app
