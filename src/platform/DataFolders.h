#pragma once

#include <QString>

namespace navcal::platform {

// The user's own navcal folder, where "1.jpg", "muzz.*" and "holidays.txt"
// are looked for first: %LOCALAPPDATA%\navcal on Windows, $XDG_DATA_HOME/navcal
// (default ~/.local/share/navcal) on Linux. Empty when there is none (on
// Linux, no absolute HOME): then nothing is read from it.
QString userDataFolder();

// The whole machine's folder, looked in after the user's for "1.jpg" and
// "muzz.*": the Windows folder on Windows, which an ordinary account cannot
// write to. Empty on Linux, which has none.
QString systemDataFolder();

// The user's documents folder, where the menu entries' files go: the known
// folder on Windows, XDG_DOCUMENTS_DIR (by default ~/Documents) on Linux.
// Empty when there is none (on Linux, no absolute HOME).
QString documentsFolder();

// The folder that holds the program's own executable.
QString programFolder();

} // namespace navcal::platform
