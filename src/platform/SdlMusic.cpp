#include "platform/SdlMusic.h"

#include "platform/AudioLibrary.h"
#include "platform/SafeFile.h"

#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <array>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace navcal::platform {

namespace {

// Only called once ensureAudio() has found the library.
const AudioLibrary& sdl() {
    return *audioLibrary();
}

// Reading and parsing a long file take a core for a while: done at a lower
// priority than the screen's drawing, which the machine may have few cores
// for. The sound is mixed on the audio library's own thread, started with
// the device at the usual priority, so it does not lag.
void yieldToTheScreen() {
    QThread::currentThread()->setPriority(QThread::LowPriority);
#ifdef Q_OS_LINUX
    // Linux gives its ordinary threads one priority: their nice value weighs.
    setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), 10);
#endif
}

} // namespace

QString defaultSoundFont() {
    static const std::array<QString, 3> kCandidates = {
        QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2"),
        QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2"),
        QStringLiteral("/usr/share/sounds/sf3/default-GM.sf3")};
    for (const QString& candidate : kCandidates) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

// What the sink asks for, done on the player's thread: every call into the
// audio library is made there.
class SdlMusic::Player : public QObject {
  public:
    ~Player() override;
    void play(const QString& path);
    void stop(const QString& path);

  private:
    enum class Audio { Untried, Open, Failed };

    bool ensureAudio();
    bool load(const QString& path);
    void freeMusic();

    Audio m_audio = Audio::Untried;
    Mix_Music* m_music = nullptr;
    QByteArray m_bytes; // what m_music plays from
    QString m_musicPath;
    QSet<QString> m_failed;
};

SdlMusic::SdlMusic() : m_player(new Player) {}

SdlMusic::~SdlMusic() {
    if (!m_thread) {
        delete m_player;
        return;
    }
    // Closed on its own thread, after whatever was asked before.
    QMetaObject::invokeMethod(m_player, [player = m_player] {
        delete player;
        QThread::currentThread()->quit();
    });
    m_thread->wait();
}

void SdlMusic::play(const QString& path) {
    if (!m_thread) {
        m_thread = std::make_unique<QThread>();
        m_thread->setObjectName(QStringLiteral("music"));
        m_player->moveToThread(m_thread.get());
        m_thread->start();
    }
    QMetaObject::invokeMethod(m_player, [player = m_player, path] { player->play(path); });
}

void SdlMusic::stop(const QString& path) {
    if (m_thread)
        QMetaObject::invokeMethod(m_player, [player = m_player, path] { player->stop(path); });
}

SdlMusic::Player::~Player() {
    freeMusic();
    if (m_audio == Audio::Open) {
        sdl().Mix_CloseAudio();
        sdl().Mix_Quit();
        sdl().SDL_QuitSubSystem(SDL_INIT_AUDIO);
        sdl().SDL_Quit();
    }
}

bool SdlMusic::Player::ensureAudio() {
    // Tried once: without a device every later click would wait for the
    // audio system to fail again.
    if (m_audio != Audio::Untried)
        return m_audio == Audio::Open;
    m_audio = Audio::Failed;
    if (audioLibrary() == nullptr)
        return false;

    // SDL would otherwise take SIGINT/SIGTERM for an event queue that a Qt
    // program never reads, and the saver could no longer be ended by signal.
    sdl().SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl().SDL_Init(SDL_INIT_AUDIO) != 0) {
        sdl().SDL_Quit();
        return false;
    }
    // A decoder that cannot be loaded silences only its own kind of file.
    sdl().Mix_Init(MIX_INIT_MID | MIX_INIT_MP3);
    if (sdl().Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        sdl().Mix_Quit();
        sdl().SDL_QuitSubSystem(SDL_INIT_AUDIO);
        sdl().SDL_Quit();
        return false;
    }
    if (qEnvironmentVariableIsEmpty("SDL_SOUNDFONTS")) {
        const QString soundFont = defaultSoundFont();
        if (!soundFont.isEmpty())
            sdl().Mix_SetSoundFonts(QFileInfo(soundFont).absoluteFilePath().toUtf8().constData());
    }
    m_audio = Audio::Open;
    return true;
}

void SdlMusic::Player::play(const QString& path) {
    if (!ensureAudio() || m_failed.contains(path))
        return;
    if (m_music == nullptr || path != m_musicPath) {
        freeMusic();
        yieldToTheScreen();
        if (!load(path)) {
            // Remembered: a later click does not touch the file again.
            m_failed.insert(path);
            return;
        }
    }
    // A click while the music sounds lets it go on; after its end it starts
    // again from the bytes already read, never from the file by name.
    if (sdl().Mix_PlayingMusic() != 0)
        return;
    // Played once: 1 plays a single time (0 would too).
    sdl().Mix_PlayMusic(m_music, 1);
}

bool SdlMusic::Player::load(const QString& path) {
    // The kind follows the name, as with the multimedia interface; a MIDI
    // file is a few kilobytes, so anything large is no tune.
    Mix_MusicType type = MUS_NONE;
    qint64 cap = kMaxStreamedMusicBytes;
    if (path.endsWith(u".mid", Qt::CaseInsensitive)) {
        type = MUS_MID;
        cap = kMaxMidiBytes;
    } else if (path.endsWith(u".mp3", Qt::CaseInsensitive)) {
        type = MUS_MP3;
    } else if (path.endsWith(u".wav", Qt::CaseInsensitive)) {
        type = MUS_WAV;
    }
    std::optional<QByteArray> bytes = readRegularFile(path, cap);
    if (!bytes || bytes->isEmpty() || (type == MUS_MID && !midiChunksFit(*bytes)))
        return false;
    // SDL reads from these bytes for as long as the music lives.
    m_bytes = std::move(*bytes);
    SDL_RWops* source = sdl().SDL_RWFromConstMem(m_bytes.constData(), int(m_bytes.size()));
    if (source != nullptr)
        m_music = sdl().Mix_LoadMUSType_RW(source, type, SDL_TRUE);
    if (m_music == nullptr) {
        m_bytes.clear();
        return false;
    }
    m_musicPath = path;
    return true;
}

void SdlMusic::Player::stop(const QString& path) {
    if (m_music == nullptr || path != m_musicPath)
        return;
    sdl().Mix_HaltMusic();
}

void SdlMusic::Player::freeMusic() {
    if (m_music == nullptr)
        return;
    sdl().Mix_HaltMusic();
    sdl().Mix_FreeMusic(m_music);
    m_music = nullptr;
    m_bytes.clear();
    m_musicPath.clear();
}

bool midiChunksFit(const QByteArray& bytes) {
    const auto length = [&bytes](qsizetype at) {
        const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData() + at);
        return (quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8) | b[3];
    };
    if (bytes.size() < 14 || !bytes.startsWith("MThd") || length(4) < 6)
        return false;
    int tracks = 0;
    for (qsizetype at = 0; at < bytes.size();) {
        if (bytes.size() - at < 8)
            return false;
        const quint32 size = length(at + 4);
        if (size > quint64(bytes.size() - at - 8))
            return false;
        if (bytes.mid(at, 4) == "MTrk")
            ++tracks;
        at += 8 + qsizetype(size);
    }
    return tracks > 0;
}

} // namespace navcal::platform
