// Choosing the music file and what the window asks the player to do.

#include "extras/Music.h"
#include "support/Files.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#endif

using namespace navcal;
using namespace navcal::extras;
using navcal::test::RecordingSink;
using navcal::test::writeFile;

namespace {

QString nativePath(const QTemporaryDir& dir, const QString& name) {
    return QDir::toNativeSeparators(dir.filePath(name));
}

#ifdef Q_OS_UNIX
// The "muzz.*" entries as the C library lists the folder.
QStringList matchesByReaddir(const QString& folder) {
    QStringList names;
    DIR* dir = opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir))
        if (fnmatch("muzz.*", entry->d_name, 0) == 0)
            names << QFile::decodeName(entry->d_name);
    closedir(dir);
    return names;
}
#endif

} // namespace

class TestMusic : public QObject {
    Q_OBJECT
  private slots:
    void folderWithOneEntry_data();
    void folderWithOneEntry();
    void onlyTheFirstMatchDecides_data();
    void onlyTheFirstMatchDecides();
    void nonRegularFirstMatchChoosesNothing();
};

void TestMusic::folderWithOneEntry_data() {
    QTest::addColumn<QString>("fileName"); // empty: the folder stays empty
    QTest::addColumn<bool>("chosen");

    QTest::newRow("only muzz.wav") << "muzz.wav" << true;
    QTest::newRow("only muzz.mid") << "muzz.mid" << true;
    QTest::newRow("wrong-case extension") << "muzz.MID" << false;
    QTest::newRow("another extension") << "muzz.txt" << false;
    QTest::newRow("nothing found") << "" << false;
}

void TestMusic::folderWithOneEntry() {
    QFETCH(QString, fileName);
    QFETCH(bool, chosen);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (!fileName.isEmpty())
        QVERIFY(writeFile(dir.filePath(fileName)));

    RecordingSink sink;
    Music music(sink, {dir.path()});
    music.start();
    music.replay();
    music.stop();
    const QString path = nativePath(dir, fileName);
    const QStringList expected =
        chosen ? QStringList{RecordingSink::playText(path), RecordingSink::playText(path),
                             RecordingSink::stopText(path)}
               : QStringList{};
    QCOMPARE(sink.commands, expected);
}

void TestMusic::onlyTheFirstMatchDecides_data() {
    QTest::addColumn<QStringList>("listing"); // the folder's matches in listed order
    QTest::addColumn<QString>("chosen");
    QTest::newRow("another extension first") << QStringList{"muzz.txt", "muzz.mid"} << "";
    QTest::newRow("muzz.mid first") << QStringList{"muzz.mid", "muzz.txt"} << "muzz.mid";
    QTest::newRow("two playable, the later listed first")
        << QStringList{"muzz.wav", "muzz.mid", "muzz.mp3"} << "muzz.wav";
}

// The listing is given, so the file system's order decides nothing here.
void TestMusic::onlyTheFirstMatchDecides() {
    QFETCH(QStringList, listing);
    QFETCH(QString, chosen);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString& name : listing)
        QVERIFY(writeFile(dir.filePath(name)));
    QCOMPARE(chooseMusic(dir.path(), listing), chosen.isEmpty() ? chosen : nativePath(dir, chosen));

    // The folder's own search finds the same names, in the order the system lists them.
    QStringList found = musicMatches(dir.path());
#ifdef Q_OS_UNIX
    QCOMPARE(found, matchesByReaddir(dir.path()));
#endif
    QCOMPARE(chooseMusicIn({dir.path()}), chooseMusic(dir.path(), found));
    found.sort();
    listing.sort();
    QCOMPARE(found, listing);
}

void TestMusic::nonRegularFirstMatchChoosesNothing() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir("muzz.wav"));
    QCOMPARE(musicMatches(dir.path()), QStringList{"muzz.wav"});
    QCOMPARE(chooseMusicIn({dir.path()}), QString());
#ifdef Q_OS_UNIX
    // A pipe would keep the player waiting for a writer at start-up.
    QTemporaryDir pipeDir;
    QVERIFY(pipeDir.isValid());
    QCOMPARE(mkfifo(QFile::encodeName(pipeDir.filePath("muzz.mid")).constData(), 0600), 0);
    QCOMPARE(chooseMusicIn({pipeDir.path()}), QString());
    // A link to a real file plays.
    QTemporaryDir linkDir;
    QVERIFY(linkDir.isValid());
    QVERIFY(writeFile(linkDir.filePath("tune.bin")));
    QVERIFY(QFile::link(linkDir.filePath("tune.bin"), linkDir.filePath("muzz.mp3")));
    QCOMPARE(chooseMusicIn({linkDir.path()}), nativePath(linkDir, "muzz.mp3"));
#endif
}

QTEST_MAIN(TestMusic)
#include "tst_music.moc"
