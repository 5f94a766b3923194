#pragma once

#include "platform/MusicSink.h"

#include <QByteArray>
#include <QString>
#include <memory>

class QThread;

namespace navcal::platform {

// MIDI tunes are a few kilobytes; MP3 and WAVE music is held in memory whole.
// Larger files are not played.
inline constexpr qint64 kMaxMidiBytes = 4 * 1024 * 1024;

// Whether the bytes are a MIDI file whose chunks all lie inside it: a header
// claiming more than the file holds is refused before any synthesizer sees it.
bool midiChunksFit(const QByteArray& bytes);
inline constexpr qint64 kMaxStreamedMusicBytes = 64 * 1024 * 1024;

// Plays music with SDL2_mixer: MIDI (through a General MIDI soundfont), MP3
// and WAVE. Audio is opened on the first play and closed by the destructor. A
// file is read once, through the checks of readRegularFile, and played from
// memory: a replay never opens it again, and a file that could not be played
// is not tried again. Every failure (no audio device, a damaged file, no
// soundfont) leaves the program running silently.
// SDL's own environment (SDL_AUDIODRIVER, SDL_SOUNDFONTS, …) is honoured.
//
// The library, the audio device and the file are opened on a thread of the
// player's own, started by the first play: a call returns at once, so the
// screen never waits for them. Calls take effect in the order they are made.
//
// SDL keeps its audio state process-wide: have one sink alive at a time.
class SdlMusic final : public MusicSink {
  public:
    SdlMusic();
    ~SdlMusic() override;
    SdlMusic(const SdlMusic&) = delete;
    SdlMusic& operator=(const SdlMusic&) = delete;

    // Plays the file once; while it sounds a repeated play lets it go on.
    void play(const QString& path) override;
    // Halts the music when it is this file's.
    void stop(const QString& path) override;

  private:
    class Player;

    std::unique_ptr<QThread> m_thread;
    Player* m_player; // lives on m_thread once it has started
};

// The soundfont handed to the MIDI player when SDL_SOUNDFONTS does not name
// one: the first existing of the General MIDI soundfonts that Debian packages
// install; empty when there is none.
QString defaultSoundFont();

} // namespace navcal::platform
