// PLACEHOLDER: replaced by the music chooser.
#include "extras/Music.h"

namespace navcal::extras {
Music::Music(MultimediaCommandSink& sink, QString windowsFolder, QObject* parent)
    : QObject(parent), m_sink(sink), m_windowsFolder(std::move(windowsFolder)) {}
void Music::start() {}
void Music::replay() {}
void Music::stop() {}
QString chooseMusic(const QString&) { return {}; }
} // namespace navcal::extras
