#pragma once

#include <QString>

namespace navcal::platform {

// The folder that stands for the Windows folder: "1.jpg" and "muzz.*" are
// looked for there. On Linux $XDG_DATA_HOME/navcal (default
// ~/.local/share/navcal); on Windows the real Windows folder. Empty when
// there is none (no absolute HOME): then no picture and no music is read.
QString windowsFolder();

// The user's own navcal data folder, looked in before the Windows folder for
// each of those files: %LOCALAPPDATA%\navcal on Windows, where an ordinary
// account cannot write to the Windows folder. Empty on Linux, whose stand-in
// for the Windows folder is already the user's own.
QString userDataFolder();

// The folder that holds the program's own executable.
QString programFolder();

} // namespace navcal::platform
