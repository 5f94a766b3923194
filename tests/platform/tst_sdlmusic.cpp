// The SDL2_mixer player really sounds: SDL's disk driver writes what would
// have reached the speakers, and the samples are looked at.

#include "platform/SdlMusic.h"
#include "support/Files.h"
#include "support/OpenFiles.h"
#include "support/PipeRescuer.h"
#include "support/TestSounds.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using namespace navcal::platform;
using navcal::test::measure;
using navcal::test::shortMidi;
using navcal::test::sineWave;
using navcal::test::writeFile;
using navcal::test::writtenSeconds;

class TestSdlMusic : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void soundsOnce_data();
    void soundsOnce();
    void failuresStaySilent();
    void leavesSignalHandlersAlone();
    void fileReadOnceThroughChecks();
    void midiChunksInsideTheFile_data();
    void midiChunksInsideTheFile();

  private:
    // Lets the audio run until `seconds` of it have been written: what has
    // been heard by then does not depend on how busy the machine is.
    bool runUntil(double seconds) {
        return QTest::qWaitFor([&] { return writtenSeconds(m_raw) >= seconds; }, 60000);
    }
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_raw; // what SDL's disk driver writes
};

void TestSdlMusic::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("SDL_AUDIODRIVER", "disk");
    qunsetenv("SDL_SOUNDFONTS");
    m_raw = m_dir->filePath(QStringLiteral("out.raw"));
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(m_raw));
}

void TestSdlMusic::soundsOnce_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<double>("minSpan");
    QTest::addColumn<double>("maxSpan");
    // The sine lasts 0.3 s: a second round would stretch the span past 0.6 s.
    QTest::newRow("wave") << "muzz.wav" << sineWave(0.3) << 0.25 << 0.4;
#ifndef Q_OS_WIN // MIDI plays through Windows' own synthesizer, which SDL's audio file does not
                 // hear
    // Half a second of note plus the instrument's release.
    QTest::newRow("midi") << "muzz.mid" << shortMidi() << 0.2 << 3.0;
#endif
}

void TestSdlMusic::soundsOnce() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(double, minSpan);
    QFETCH(double, maxSpan);
    if (name.endsWith(u".mid") && defaultSoundFont().isEmpty())
        QFAIL("no General MIDI soundfont installed (timgm6mb-soundfont; tools/bootstrap.sh "
              "installs it)");

    const QString file = m_dir->filePath(name);
    QVERIFY(writeFile(file, content));
    {
        SdlMusic sink;
        sink.play(file);
        // Its end, and a second round's, lie in the file when it starts
        // within two seconds.
        QVERIFY(runUntil(maxSpan + 2));
    } // the sink closes audio, and the file, here

    const auto loudness = measure(m_raw);
    QVERIFY2(loudness.loudSamples > 1000, qPrintable(QString::number(loudness.loudSamples)));
    QVERIFY2(loudness.loudSpan() >= minSpan && loudness.loudSpan() <= maxSpan,
             qPrintable(QString::number(loudness.loudSpan())));
}

void TestSdlMusic::failuresStaySilent() {
    const QString damaged = m_dir->filePath(QStringLiteral("muzz.mp3"));
    QVERIFY(writeFile(damaged, QByteArray(4096, '\x5a')));
    const QString missing = m_dir->filePath(QStringLiteral("muzz.wav"));
    const QString good = m_dir->filePath(QStringLiteral("tone.wav"));
    QVERIFY(writeFile(good, sineWave(10))); // far longer than it is let sound
    {
        // No audio device at all: every call is taken, nothing is written.
        qputenv("SDL_AUDIODRIVER", "no-such-driver");
        SdlMusic sink;
        sink.play(good);
        sink.play(good);
        sink.stop(good);
    }
    QVERIFY(!QFile::exists(m_raw));

    qputenv("SDL_AUDIODRIVER", "disk");
    auto sink = std::make_unique<SdlMusic>();
    sink->play(damaged);
    sink->play(missing);
    QVERIFY(runUntil(1));
    const double silentUntil = writtenSeconds(m_raw);
    // A failed file does not keep the next from playing; a stop naming
    // another file leaves the music alone; its own stop ends it.
    sink->play(good);
    sink->stop(missing);
    QVERIFY(runUntil(silentUntil + 2));
    sink->stop(good);
    QVERIFY(runUntil(silentUntil + 5));
    sink.reset(); // audio closed, and the file with it
    const auto heard = measure(m_raw);
    QVERIFY2(heard.loudSamples > 1000, qPrintable(QString::number(heard.loudSamples)));
    QVERIFY2(heard.firstLoud >= silentUntil, qPrintable(QString::number(heard.firstLoud)));
    QVERIFY2(heard.loudSpan() >= 1, qPrintable(QString::number(heard.loudSpan())));
    QVERIFY2(writtenSeconds(m_raw) - heard.lastLoud >= 1,
             qPrintable(QString::number(heard.lastLoud)));
}

void TestSdlMusic::leavesSignalHandlersAlone() {
#ifndef Q_OS_UNIX
    QSKIP("POSIX signals only");
#else
    // The window ends on SIGINT/SIGTERM through its own handlers; SDL's would
    // swallow the signals into an event queue nobody reads.
    const QString good = m_dir->filePath(QStringLiteral("tone.wav"));
    QVERIFY(writeFile(good, sineWave(0.1)));
    // SDL takes over only signals left at their default, as in the saver
    // before its own handlers are set; the test framework's are put back after.
    const int signals_[2] = {SIGINT, SIGTERM};
    struct sigaction framework[2]{}, after[2]{};
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    for (int i = 0; i < 2; ++i)
        QCOMPARE(sigaction(signals_[i], &byDefault, &framework[i]), 0);
    {
        SdlMusic sink;
        sink.play(good);
        // Sound written: SDL has started, with whatever it sets up.
        const bool sounding = runUntil(0.2);
        for (int i = 0; i < 2; ++i)
            sigaction(signals_[i], nullptr, &after[i]);
        for (int i = 0; i < 2; ++i)
            sigaction(signals_[i], &framework[i], nullptr);
        QVERIFY(sounding);
    }
    for (int i = 0; i < 2; ++i)
        QVERIFY2(after[i].sa_handler == SIG_DFL, qPrintable(QString::number(signals_[i])));
#endif
}

// The file is opened once, checked on its descriptor and read whole; replays
// play what was read, and nothing of the file stays open.
void TestSdlMusic::fileReadOnceThroughChecks() {
#ifndef Q_OS_UNIX
    QSKIP("pipes, sparse files and /proc");
#else
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("say \"hi\"")));
    const QString good = m_dir->filePath(QStringLiteral("say \"hi\"/muzz.wav"));
    QVERIFY(writeFile(good, sineWave(0.2)));
    const QString pipe = m_dir->filePath(QStringLiteral("muzz.mp3"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString huge = m_dir->filePath(QStringLiteral("muzz.mid"));
    {
        QFile sparse(huge);
        QVERIFY(sparse.open(QIODevice::WriteOnly));
        sparse.write(shortMidi());
        QVERIFY(sparse.resize(qint64(1) << 30));
    }
    const navcal::test::PipeRescuer rescuePipe(QFile::encodeName(pipe));
    const navcal::test::PipeRescuer rescueSwapped(QFile::encodeName(good));

    auto quickly = [](auto&& step) {
        QElapsedTimer timer;
        timer.start();
        step();
        return timer.elapsed() < navcal::test::PipeRescuer::kStuckMs;
    };
    // Sound heard from `seconds` on; a stuck read would wait for its rescue.
    auto heardFrom = [this](double seconds) {
        return QTest::qWaitFor([&] { return measure(m_raw).lastLoud >= seconds; }, 60000);
    };
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    SdlMusic sink;
    QVERIFY(quickly([&] { sink.play(pipe); }));
    QVERIFY(quickly([&] { sink.play(huge); }));
    QVERIFY(runUntil(1));
    const double silentUntil = writtenSeconds(m_raw);

    // A path with a quote in it plays, right after the refused files.
    sink.play(good);
    QVERIFY(heardFrom(silentUntil));
    const auto heard = measure(m_raw);
    QVERIFY(heard.firstLoud >= silentUntil);
    QVERIFY(heard.firstLoud - silentUntil < navcal::test::PipeRescuer::kStuckMs / 1000.0);
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    QVERIFY2(after.ru_maxrss - before.ru_maxrss < 100 * 1024,
             qPrintable(QString::number(after.ru_maxrss - before.ru_maxrss)));
    // Nothing of it is left open for a child process to inherit.
    const auto open = navcal::test::openFiles();
    QVERIFY(!open.isEmpty());
    for (const auto& [fd, target] : open)
        QVERIFY2(target != good, qPrintable(QString::number(fd)));

    // Replaced by a pipe while running: once the tune is over, the replay
    // plays what was read.
    QVERIFY(QFile::remove(good));
    QCOMPARE(::mkfifo(QFile::encodeName(good).constData(), 0600), 0);
    QVERIFY(runUntil(heard.firstLoud + 1));
    const double replayFrom = writtenSeconds(m_raw);
    QVERIFY(quickly([&] { sink.play(good); }));
    QVERIFY(heardFrom(replayFrom));
#endif
}

void TestSdlMusic::midiChunksInsideTheFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("fits");
    const QByteArray tune = shortMidi();
    QTest::newRow("a tune") << tune << true;
    QTest::newRow("header alone") << tune.left(14) << false;
    QTest::newRow("track cut short") << tune.left(tune.size() - 1) << false;
    QTest::newRow("track claiming 2 GB")
        << QByteArray("MThd\0\0\0\6\0\1\0\1\0\x60MTrk\x7f\xff\xff\xff", 22) << false;
    QTest::newRow("not MIDI") << QByteArray("RIFF....WAVEfmt ") << false;
}

// A MIDI header that claims more than the file holds never reaches a synthesizer.
void TestSdlMusic::midiChunksInsideTheFile() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, fits);
    QCOMPARE(midiChunksFit(bytes), fits);
}

QTEST_MAIN(TestSdlMusic)
#include "tst_sdlmusic.moc"
