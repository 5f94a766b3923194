#pragma once

#include "extras/Multimedia.h"

#include <QObject>
#include <QString>

namespace navcal::extras {

// Background music: the first "muzz.*" of the Windows folder decides.
class Music : public QObject {
    Q_OBJECT
public:
    Music(MultimediaCommandSink& sink, QString windowsFolder, QObject* parent = nullptr);

    // Chooses the file and, if there is one, sends the play command.
    void start();
    // Click on Image1: play again when a file was chosen.
    void replay();
    // Stop command when a file was chosen; nothing otherwise.
    void stop();

    const QString& MusicPath() const { return m_musicPath; }

private:
    MultimediaCommandSink& m_sink;
    QString m_windowsFolder;
    QString m_musicPath;
};

// The music file chosen in `folder`, or empty: the first name the directory
// search returns for "muzz.*", compared case-sensitively with the three names.
QString chooseMusic(const QString& folder);

} // namespace navcal::extras
