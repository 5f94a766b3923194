#pragma once

#include "platform/MusicSink.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace navcal::extras {

// Background music: the first "muzz.*" of the first folder that has one decides.
class Music : public QObject {
    Q_OBJECT
  public:
    Music(platform::MusicSink& sink, QStringList folders, QObject* parent = nullptr);

    // Chooses the file and, if there is one, plays it.
    void start();
    // Click on the seagull: play again when a file was chosen.
    void replay();
    // Stops the chosen file's music; nothing when none was chosen.
    void stop();

  private:
    platform::MusicSink& m_sink;
    QStringList m_folders;
    QString m_musicPath;
};

// The names the directory search returns for "muzz.*" in `folder`. Unsorted,
// in the file system's own order; the pattern is case-sensitive where the file
// system is (not on Windows).
QStringList musicMatches(const QString& folder);

// The music path for the first name found: the full path (native separators)
// when the name is exactly "muzz.mid", "muzz.mp3" or "muzz.wav", letter case
// included; empty for any other name and for no name.
QString musicPathFor(const QString& folder, const QString& firstName);

// The music file chosen in `folder` from its matches in listed order, or
// empty: the first name alone decides. A first match that is not a regular
// file (a folder, a pipe, a dangling link) chooses nothing: the player would
// fail on it or, for a pipe, wait for a writer forever.
QString chooseMusic(const QString& folder, const QStringList& matches);
// The same in the first of `folders` with any "muzz.*" entry: a folder that
// has one decides even when its first match cannot be played.
QString chooseMusicIn(const QStringList& folders);

} // namespace navcal::extras
