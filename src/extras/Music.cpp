#include "extras/Music.h"

#include "platform/FileNames.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <array>

namespace navcal::extras {

Music::Music(platform::MusicSink& sink, QStringList folders, QObject* parent)
    : QObject(parent), m_sink(sink), m_folders(std::move(folders)) {}

void Music::start() {
    m_musicPath = chooseMusicIn(m_folders);
    replay();
}

void Music::replay() {
    if (!m_musicPath.isEmpty())
        m_sink.play(m_musicPath.trimmed());
}

void Music::stop() {
    if (!m_musicPath.isEmpty())
        m_sink.stop(m_musicPath.trimmed());
}

QStringList musicMatches(const QString& folder) {
    if (folder.isEmpty())
        return {};
    // Every kind of entry counts, as in the platform's own search: the first
    // one decides even when it cannot be played.
    QDir::Filters filters = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    if (platform::caseSensitiveFileNames())
        filters |= QDir::CaseSensitive;
    QStringList names;
    QDirIterator it(folder, {QStringLiteral("muzz.*")}, filters);
    while (it.hasNext()) {
        it.next();
        names << it.fileName();
    }
    return names;
}

QString musicPathFor(const QString& folder, const QString& firstName) {
    static const std::array<QString, 3> kNames = {
        QStringLiteral("muzz.mid"), QStringLiteral("muzz.mp3"), QStringLiteral("muzz.wav")};
    for (const QString& name : kNames) {
        if (firstName.compare(name, Qt::CaseSensitive) == 0)
            return QDir::toNativeSeparators(QDir(folder).filePath(name));
    }
    return {};
}

QString chooseMusicIn(const QStringList& folders) {
    for (const QString& folder : folders) {
        const QStringList matches = musicMatches(folder);
        if (!matches.isEmpty())
            return chooseMusic(folder, matches);
    }
    return {};
}

QString chooseMusic(const QString& folder, const QStringList& matches) {
    const QString path = musicPathFor(folder, matches.value(0));
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return {};
    return path;
}

} // namespace navcal::extras
