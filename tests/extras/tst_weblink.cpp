#include "design/StoredDesign.h"
#include "extras/WebLink.h"
#include "support/Files.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#ifdef Q_OS_LINUX
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>
#endif

using namespace navcal;

namespace {

// Records what the shortcut held at the moment the address was handed over.
class SnapshotOpener final : public platform::UrlOpener {
  public:
    explicit SnapshotOpener(QString shortcut, const int& ends)
        : m_shortcut(std::move(shortcut)), m_ends(ends) {}
    void open(const QUrl& address) override {
        opened << address;
        const QFileInfo info(m_shortcut);
        wasSymlink = info.isSymLink();
        QFile file(m_shortcut);
        existed = file.open(QIODevice::ReadOnly);
        contents = existed ? file.readAll() : QByteArray();
        endedBeforeOpen = m_ends > 0;
    }
    QList<QUrl> opened;
    QByteArray contents;
    bool existed = false;
    bool wasSymlink = false;
    bool endedBeforeOpen = false;

  private:
    QString m_shortcut;
    const int& m_ends;
};

const QUrl kAddress(QStringLiteral("http://example.org/naval club/"));

// Makes a folder read-only for whoever runs the test. Permissions do not stop
// root: then a read-only mount of the folder on itself does, in a mount
// namespace of this thread's own, so that it never shows outside the test and
// goes with it whatever happens.
bool makeReadOnly(const QString& folder) {
    if (!QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner))
        return false;
#ifdef Q_OS_LINUX
    if (::geteuid() == 0) {
        const QByteArray path = QFile::encodeName(folder);
        return ::unshare(CLONE_NEWNS) == 0 &&
               ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
               ::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) == 0 &&
               ::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                       nullptr) == 0;
    }
#endif
    return true;
}

void makeWritable(const QString& folder) {
#ifdef Q_OS_LINUX
    if (::geteuid() == 0)
        ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
#endif
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TestWebLink : public QObject {
    Q_OBJECT
  private slots:
    void shortcutIsWrittenHandedOverAndDeleted_data();
    void shortcutIsWrittenHandedOverAndDeleted();
    void plantedSymlinkIsNotFollowed();
    void unwritableFolderStillOpensAndEnds_data();
    void unwritableFolderStillOpensAndEnds();
    void clickOnSiteAddressEndsOnce();
};

void TestWebLink::shortcutIsWrittenHandedOverAndDeleted_data() {
    QTest::addColumn<QString>("subfolder");
    QTest::addColumn<QByteArray>("earlier"); // an older TEMP.URL, empty for none
    QTest::newRow("plain folder") << QString() << QByteArray();
    QTest::newRow("folder with blanks")
        << QStringLiteral("Program Files/navcal saver") << QByteArray();
    QTest::newRow("older, longer shortcut is replaced")
        << QString()
        << QByteArray("[InternetShortcut]\r\nURL=http://old.example/a/much/longer/"
                      "address/than/the/new/one\r\nIconIndex=0\r\n");
}

void TestWebLink::shortcutIsWrittenHandedOverAndDeleted() {
    QFETCH(QString, subfolder);
    QFETCH(QByteArray, earlier);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString folder = subfolder.isEmpty() ? root.path() : root.filePath(subfolder);
    QVERIFY(QDir().mkpath(folder));
    const QString shortcut = QDir(folder).filePath(QStringLiteral("TEMP.URL"));
    if (!earlier.isEmpty())
        QVERIFY(test::writeFile(shortcut, earlier));

    int ends = 0;
    SnapshotOpener opener(shortcut, ends);
    extras::WebLink link(opener, folder, kAddress, [&ends] { ++ends; });
    link.follow();

    QCOMPARE(opener.opened, QList<QUrl>{kAddress});
    QVERIFY(opener.existed);
    QCOMPARE(opener.contents,
             QByteArray("[InternetShortcut]\r\nURL=http://example.org/naval%20club/\r\n"));
    QVERIFY(!opener.endedBeforeOpen);
    QCOMPARE(ends, 1);
    // Nothing is left behind: neither the shortcut nor a temporary file.
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                    QDir::NoDotAndDotDot),
             QStringList());
}

void TestWebLink::plantedSymlinkIsNotFollowed() {
    QTemporaryDir folder;
    QTemporaryDir elsewhere;
    QVERIFY(folder.isValid() && elsewhere.isValid());
    const QString victim = elsewhere.filePath(QStringLiteral("victim.txt"));
    QVERIFY(test::writeFile(victim, "precious data\n"));
    const QString shortcut = folder.filePath(QStringLiteral("TEMP.URL"));
    if (!QFile::link(victim, shortcut))
        QSKIP("this file system cannot hold symbolic links");

    int ends = 0;
    SnapshotOpener opener(shortcut, ends);
    extras::WebLink link(opener, folder.path(), kAddress, [&ends] { ++ends; });
    link.follow();

    QCOMPARE(readAll(victim), QByteArray("precious data\n"));
    // The name was taken over by a file of our own, then removed.
    QVERIFY(!opener.wasSymlink);
    QVERIFY(opener.contents.startsWith("[InternetShortcut]\r\n"));
    QVERIFY(!QFileInfo(shortcut).exists() && !QFileInfo(shortcut).isSymLink());
    QVERIFY(QFileInfo::exists(victim));
    QCOMPARE(ends, 1);
}

void TestWebLink::unwritableFolderStillOpensAndEnds_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing folder") << QStringLiteral("missing");
    QTest::newRow("folder is a file") << QStringLiteral("file");
#ifndef Q_OS_WIN // where the read-only attribute of a folder does not stop new files
    QTest::newRow("read-only folder") << QStringLiteral("readonly");
#endif
}

void TestWebLink::unwritableFolderStillOpensAndEnds() {
    QFETCH(QString, kind);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QString folder = root.filePath(QStringLiteral("program"));
    // Put back before the folder is removed, whatever the outcome.
    auto writable = qScopeGuard([&] {
        if (kind == QLatin1String("readonly"))
            makeWritable(folder);
    });
    if (kind == QLatin1String("file")) {
        QFile file(folder);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (kind == QLatin1String("readonly")) {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY2(makeReadOnly(folder), "the folder cannot be made read-only");
        QFile probe(QDir(folder).filePath(QStringLiteral("probe")));
        QVERIFY2(!probe.open(QIODevice::WriteOnly), "the read-only folder takes a file");
    }

    int ends = 0;
    SnapshotOpener opener(QDir(folder).filePath(QStringLiteral("TEMP.URL")), ends);
    extras::WebLink link(opener, folder, kAddress, [&ends] { ++ends; });
    link.follow();

    QCOMPARE(opener.opened, QList<QUrl>{kAddress});
    QVERIFY(!opener.existed);
    QCOMPARE(ends, 1);
}

void TestWebLink::clickOnSiteAddressEndsOnce() {
    test::TestWindow w(QDate(2026, 2, 23));
    const QString music = QDir::toNativeSeparators(QDir(w.folder.path()).filePath("muzz.wav"));
    QVERIFY(test::writeFile(music, "RIFF"));
    auto& form = w.shown();
    w.sink.commands.clear();

    QTest::mouseClick(test::Parts(form).siteAddress, Qt::LeftButton);

    QCOMPARE(w.opener.opened, QList<QUrl>{QUrl(design::siteAddress())});
    // Ended once, after the address went to the browser: the music stopped.
    QCOMPARE(w.endCodes, std::vector<int>{0});
    QCOMPARE(w.sink.commands, QStringList{test::RecordingSink::stopText(music)});
    QVERIFY(!QFileInfo::exists(QDir(w.folder.path()).filePath(QStringLiteral("TEMP.URL"))));
}

QTEST_MAIN(TestWebLink)
#include "tst_weblink.moc"
