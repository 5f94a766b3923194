// Linked into navcal when it is built with AddressSanitizer (tools/sanitize.sh).
// The leak check at the end stops every thread by tracing them, which cannot
// be done in a process that is traced already: the screensaver hosts' test
// reads navcal's exit code with strace. Such a run ends without the check
// rather than with the check's own failure.

#include <fstream>
#include <string>

extern "C" int __lsan_is_turned_off() {
    std::ifstream status("/proc/self/status");
    const std::string tracer = "TracerPid:";
    for (std::string line; std::getline(status, line);)
        if (line.compare(0, tracer.size(), tracer) == 0)
            return std::stoi(line.substr(tracer.size())) != 0;
    return 0;
}
