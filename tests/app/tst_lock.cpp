// The single-copy lock: only in a folder of this user's alone, released by
// the system with its holder, and never kept from starting by what someone
// left or planted under its name.

#include "platform/SingleCopyLock.h"
#include "platform/SingleInstance.h"
#include "support/Files.h"
#include "support/OpenFiles.h"
#include "support/SaverEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using navcal::platform::SingleCopyLock;
using Result = SingleCopyLock::Result;

class TestLock : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void whatStandsAtTheLock_data();
    void whatStandsAtTheLock();
    void onlyAFolderOfOurOwn_data();
    void onlyAFolderOfOurOwn();
    void plantedSharedLockNeitherStopsNorHangsTheSaver();

  private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_savedRuntime, m_savedTmp;
};

void TestLock::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QFile::setPermissions(m_dir->path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    m_savedTmp = qgetenv("TMPDIR");
}

void TestLock::cleanup() {
    qputenv("XDG_RUNTIME_DIR", m_savedRuntime);
    qputenv("TMPDIR", m_savedTmp);
}

void TestLock::whatStandsAtTheLock_data() {
    QTest::addColumn<QString>("planted");
    QTest::addColumn<bool>("guarded"); // whether the lock can be held at all
    QTest::newRow("nothing") << "" << true;
    QTest::newRow("garbage left by a kill") << "garbage" << true;
    QTest::newRow("a pipe") << "fifo" << false;
    QTest::newRow("a directory") << "directory" << false;
    QTest::newRow("a link") << "link" << false;
}

void TestLock::whatStandsAtTheLock() {
    QFETCH(QString, planted);
    QFETCH(bool, guarded);
    const QString lock = m_dir->filePath("navcal.lock");
    const QByteArray lockName = QFile::encodeName(lock);
    if (planted == "garbage") {
        QVERIFY(navcal::test::writeFile(lock, "\x01\x02 not a pid"));
    } else if (planted == "fifo") {
        QCOMPARE(::mkfifo(lockName.constData(), 0600), 0);
    } else if (planted == "directory") {
        QVERIFY(QDir(m_dir->path()).mkdir("navcal.lock"));
    } else if (planted == "link") {
        QVERIFY(QFile::link(m_dir->filePath("elsewhere"), lock));
    }

    {
        SingleCopyLock first;
        QCOMPARE(first.acquireIn(m_dir->path()), guarded ? Result::Acquired : Result::Unavailable);
        SingleCopyLock second;
        QCOMPARE(second.acquireIn(m_dir->path()), guarded ? Result::Busy : Result::Unavailable);
        // The saver runs in both cases when it is the first.
        navcal::platform::SingleInstance instance(m_dir->path());
        QCOMPARE(instance.acquire(), !guarded);
        if (guarded) {
            // The descriptor holding it is not inherited by child processes.
            int holding = 0;
            for (const auto& [fd, target] : navcal::test::openFiles()) {
                if (target == lock) {
                    ++holding;
                    QVERIFY(::fcntl(fd, F_GETFD) & FD_CLOEXEC);
                }
            }
            QCOMPARE(holding, 1);
        }
    }
    QVERIFY(!QFile::exists(m_dir->filePath("elsewhere")));
    // Released with its holder, the file kept.
    SingleCopyLock again;
    QCOMPARE(again.acquireIn(m_dir->path()), guarded ? Result::Acquired : Result::Unavailable);
    if (guarded)
        QVERIFY(QFileInfo(lock).isFile());
}

void TestLock::onlyAFolderOfOurOwn_data() {
    QTest::addColumn<QString>("runtime");  // the runtime folder's state
    QTest::addColumn<QString>("fallback"); // what stands at TMPDIR/navcal-<uid>
    QTest::addColumn<QString>("chosen");   // "runtime", "fallback" or ""
    QTest::newRow("private runtime folder") << "private"
                                            << ""
                                            << "runtime";
    QTest::newRow("runtime folder open to others") << "0755"
                                                   << ""
                                                   << "fallback";
    QTest::newRow("runtime folder someone else's") << "foreign"
                                                   << ""
                                                   << "fallback";
    QTest::newRow("no runtime folder") << "unset"
                                       << ""
                                       << "fallback";
    QTest::newRow("fallback taken by someone else") << "unset"
                                                    << "foreign"
                                                    << "";
    QTest::newRow("fallback open to others") << "unset"
                                             << "0777"
                                             << "";
    QTest::newRow("fallback a link to ours") << "unset"
                                             << "link"
                                             << "";
}

void TestLock::onlyAFolderOfOurOwn() {
    QFETCH(QString, runtime);
    QFETCH(QString, fallback);
    QFETCH(QString, chosen);
    const bool root = ::geteuid() == 0;
    if (!root && (runtime == "foreign" || fallback == "foreign"))
        QSKIP("giving a folder to another user needs root");
    const QString runtimeDir = m_dir->filePath("run");
    const QString tmp = m_dir->filePath("tmp");
    QVERIFY(QDir().mkpath(runtimeDir) && QDir().mkpath(tmp));
    const QString own = tmp + QStringLiteral("/navcal-%1").arg(::geteuid());
    ::chmod(QFile::encodeName(runtimeDir).constData(), runtime == "0755" ? 0755 : 0700);
    if (runtime == "foreign")
        QCOMPARE(::chown(QFile::encodeName(runtimeDir).constData(), 65534, 65534), 0);
    if (runtime == "unset")
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir));
    qputenv("TMPDIR", QFile::encodeName(tmp));
    if (fallback == "foreign" || fallback == "0777") {
        QVERIFY(QDir().mkdir(own));
        ::chmod(QFile::encodeName(own).constData(), fallback == "0777" ? 0777 : 0700);
        if (fallback == "foreign")
            QCOMPARE(::chown(QFile::encodeName(own).constData(), 65534, 65534), 0);
    } else if (fallback == "link") {
        QVERIFY(QFile::link(runtimeDir, own));
    }

    const QString expected = chosen == "runtime" ? runtimeDir : chosen == "fallback" ? own : "";
    QCOMPARE(SingleCopyLock::defaultFolder(), expected);
    SingleCopyLock lock;
    QCOMPARE(lock.acquire(), expected.isEmpty() ? Result::Unavailable : Result::Acquired);
    if (chosen == "fallback")
        QCOMPARE(QFileInfo(own).permissions() & 0x0077, QFile::Permissions());
}

// With no runtime folder, the old shared name in the temporary folder is
// no one's to plant: a pipe or a folder there changes nothing.
void TestLock::plantedSharedLockNeitherStopsNorHangsTheSaver() {
    const QString tmp = m_dir->filePath("tmp");
    QVERIFY(QDir().mkpath(tmp));
    QCOMPARE(::mkfifo(QFile::encodeName(tmp + "/navcal.lock").constData(), 0666), 0);
    // The toolkit's own fallback runtime folder, taken by someone else.
    if (const passwd* user = ::getpwuid(::geteuid()); user && ::geteuid() == 0) {
        const QString taken = tmp + "/runtime-" + QString::fromLocal8Bit(user->pw_name);
        QVERIFY(QDir().mkpath(taken));
        QCOMPARE(::chown(QFile::encodeName(taken).constData(), 65534, 65534), 0);
    }
    QProcessEnvironment env = navcal::test::saverEnvironment(*m_dir, "offscreen");
    env.remove("XDG_RUNTIME_DIR");
    env.insert("TMPDIR", tmp);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(NAVCAL_BINARY, {"/s"});
    QVERIFY(p.waitForStarted());
    QVERIFY(navcal::test::waitForPlatform(p.processId()));
    QVERIFY(!p.waitForFinished(1500)); // it runs
    ::kill(pid_t(p.processId()), SIGTERM);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
}

QTEST_MAIN(TestLock)
#include "tst_lock.moc"
