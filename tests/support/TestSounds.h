#pragma once

// Small music files made on the spot, for the player and the program.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace navcal::test {

// 16-bit mono PCM WAVE: a 440 Hz sine of the given length.
inline QByteArray sineWave(double seconds, int rate = 22050) {
    const int frames = int(seconds * rate);
    QByteArray data(frames * 2, Qt::Uninitialized);
    for (int i = 0; i < frames; ++i) {
        const auto sample =
            qint16(std::lround(12000.0 * std::sin(2.0 * std::numbers::pi * 440.0 * i / rate)));
        qToLittleEndian(sample, data.data() + 2 * i);
    }
    auto le32 = [](quint32 v) {
        QByteArray b(4, 0);
        qToLittleEndian(v, b.data());
        return b;
    };
    auto le16 = [](quint16 v) {
        QByteArray b(2, 0);
        qToLittleEndian(v, b.data());
        return b;
    };
    QByteArray wav;
    wav += "RIFF" + le32(quint32(36 + data.size())) + "WAVE";
    wav += "fmt " + le32(16) + le16(1) + le16(1) + le32(quint32(rate)) + le32(quint32(rate * 2)) +
           le16(2) + le16(16);
    wav += "data" + le32(quint32(data.size())) + data;
    return wav;
}

// Standard MIDI file, one track: piano, middle C held for half a second.
inline QByteArray shortMidi() {
    const QByteArray track = QByteArray::fromHex("00C000"     // program 0
                                                 "00903C64"   // note on
                                                 "60803C40"   // 96 ticks later: note off
                                                 "00FF2F00"); // end of track
    QByteArray midi = QByteArray::fromHex("4D546864000000060000000100"
                                          "60"); // 96 ticks/quarter
    midi += "MTrk";
    QByteArray length(4, 0);
    qToBigEndian(quint32(track.size()), length.data());
    return midi + length + track;
}

// What SDL's disk audio driver writes is signed 16-bit stereo at 44100 Hz
// (the format the player opens audio with), at the sound's own pace: a busy
// machine slows the writing but loses nothing of the sound.
inline constexpr double kRawBytesPerSecond = 2.0 * 2.0 * 44100.0;

// How many seconds of sound have been written to `rawPath` so far.
inline double writtenSeconds(const QString& rawPath) {
    return double(QFile(rawPath).size()) / kRawBytesPerSecond;
}

// What was written: how many samples are louder than `threshold`, and when
// the first and the last of them came, in seconds from the opening of the
// audio (-1: none).
struct Loudness {
    qsizetype loudSamples = 0;
    double firstLoud = -1;
    double lastLoud = -1;
    double loudSpan() const { return lastLoud - firstLoud; }
};

inline Loudness measure(const QString& rawPath, int threshold = 200) {
    QFile file(rawPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray raw = file.readAll();
    Loudness result;
    for (qsizetype i = 0; i + 1 < raw.size(); i += 2) {
        if (std::abs(int(qFromLittleEndian<qint16>(raw.constData() + i))) > threshold) {
            ++result.loudSamples;
            if (result.firstLoud < 0)
                result.firstLoud = double(i) / kRawBytesPerSecond;
            result.lastLoud = double(i) / kRawBytesPerSecond;
        }
    }
    return result;
}

} // namespace navcal::test
