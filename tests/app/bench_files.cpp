// Peak memory of the real program with hostile or large files in its Windows
// folder: runs it for two seconds per case and reads its VmHWM. Goal: every
// case under 150 MB. Run by hand: build/tests/app_bench_files

#include "support/Files.h"
#include "support/SaverEnvironment.h"
#include "support/TestSounds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <functional>

namespace {

long peakKilobytes(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    struct Case {
        const char* name;
        std::function<bool(const QString& folder)> prepare;
    };
    const std::vector<Case> cases = {
        {"empty folder", [](const QString&) { return true; }},
        {"48 MP JPEG photo",
         [](const QString& folder) {
             QImage photo(8000, 6000, QImage::Format_Grayscale8);
             for (int y = 0; y < photo.height(); ++y)
                 memset(photo.scanLine(y), y % 256, size_t(photo.width()));
             QImageWriter writer(folder + "/1.jpg", "jpeg");
             writer.setQuality(85);
             return writer.write(photo);
         }},
        {"SVG naming thirty 4000x4000 pictures",
         [](const QString& folder) {
             QImage big(4000, 4000, QImage::Format_Grayscale8);
             big.fill(128);
             if (!big.save(folder + "/big.png"))
                 return false;
             QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' "
                              "xmlns:xlink='http://www.w3.org/1999/xlink' width='4000' "
                              "height='4000'>";
             for (int i = 0; i < 30; ++i)
                 svg += "<image x='" + QByteArray::number(i) + "' xlink:href='" +
                        QFile::encodeName(folder) + "/big.png' width='4000' height='4000'/>";
             return navcal::test::writeFile(folder + "/1.jpg", svg + "</svg>");
         }},
        {"1 GiB sparse MIDI",
         [](const QString& folder) {
             QFile f(folder + "/muzz.mid");
             return f.open(QIODevice::WriteOnly) && f.write(navcal::test::shortMidi()) > 0 &&
                    f.resize(qint64(1) << 30);
         }},
        {"60 s WAVE (played from memory)",
         [](const QString& folder) {
             return navcal::test::writeFile(folder + "/muzz.wav",
                                            navcal::test::sineWave(60.0, 44100));
         }},
    };
    int failures = 0;
    for (const Case& c : cases) {
        QTemporaryDir home;
        const QString folder = home.filePath("data/navcal");
        QDir().mkpath(folder);
        if (!c.prepare(folder)) {
            std::printf("%-40s could not be prepared\n", c.name);
            ++failures;
            continue;
        }
        const QProcessEnvironment env = navcal::test::saverEnvironment(home, "offscreen");
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(NAVCAL_BINARY, {"/s"});
        p.waitForStarted();
        QThread::msleep(2500);
        const long peak = peakKilobytes(p.processId());
        ::kill(pid_t(p.processId()), SIGTERM);
        p.waitForFinished(5000);
        const bool ok = peak > 0 && peak < 150 * 1024 && p.exitCode() == 0;
        failures += !ok;
        std::printf("%-40s peak %6.1f MB  exit %d  %s\n", c.name, peak / 1024.0, p.exitCode(),
                    ok ? "ok" : "OVER");
    }
    return failures == 0 ? 0 : 1;
}
