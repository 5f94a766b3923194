#pragma once

#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace navcal::test {

// The environment of the real program run by a test: a home of its own (a
// private runtime folder, so the single-copy lock has a place), silent audio.
inline QProcessEnvironment saverEnvironment(const QTemporaryDir& home, const QString& platform) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", platform);
    env.insert("HOME", home.path());
    env.insert("XDG_DATA_HOME", home.filePath("data"));
    env.insert("XDG_RUNTIME_DIR", home.path());
    env.insert("SDL_AUDIODRIVER", "dummy");
    QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return env;
}

} // namespace navcal::test
