#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

namespace navcal::test {

// A sanitizer build's options (halt on the first error, the system's own
// leaks suppressed) reach the programs a test starts as they reached the test.
inline void passSanitizerOptions(QProcessEnvironment& env) {
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
        if (qEnvironmentVariableIsSet(name))
            env.insert(QString::fromLatin1(name), qEnvironmentVariable(name));
}

// The environment of the real program run by a test, made whole here and
// nothing taken from the caller's session: a home of its own (a private
// runtime folder, so the single-copy lock has a place), one locale, silent
// audio, no display unless the test adds one, and on purpose no session bus
// (an address where none can be, so none is started for the display either).
inline QProcessEnvironment saverEnvironment(const QTemporaryDir& home, const QString& platform) {
    QProcessEnvironment env;
    env.insert("PATH", "/usr/local/bin:/usr/bin:/bin");
    env.insert("QT_QPA_PLATFORM", platform);
    env.insert("HOME", home.path());
    env.insert("XDG_DATA_HOME", home.filePath("data"));
    env.insert("XDG_RUNTIME_DIR", home.path());
    env.insert("LC_ALL", "C.UTF-8");
    env.insert("SDL_AUDIODRIVER", "dummy");
    env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/dev/null");
    passSanitizerOptions(env);
    QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return env;
}

// Waits (20 s at most) until a started program has loaded the toolkit's
// platform, so its own start-up, signal handlers included, is behind it
// (Linux: read from /proc). The maps are read a page at a time and can miss a
// line while the program maps more, so the first sighting is the answer.
// A pause of 0 polls without one, for a test that must come at once.
inline bool waitForPlatform(qint64 pid, int pauseMs = 50) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 20000) {
        QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
        if (maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/platforms/libq"))
            return true;
        if (pauseMs > 0)
            QTest::qWait(pauseMs);
    }
    return false;
}

} // namespace navcal::test
