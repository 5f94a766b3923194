#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace navcal::test {

// A private X server for one test, stopped when the test ends. The server
// picks a free display itself and says which once it takes clients, so that
// two tests started at once never share one and no client of ours comes and
// goes first.
struct Xvfb {
    explicit Xvfb(const QStringList& screens, const QStringList& options = {"-noreset"}) {
        server.start(QStandardPaths::findExecutable("Xvfb"),
                     screens + QStringList{"-dpi", "96", "-nolisten", "tcp", "-displayfd", "1"} +
                         options);
        QByteArray said;
        while (!said.contains('\n') && server.waitForReadyRead(10000))
            said += server.readAllStandardOutput();
        bool number = false;
        const int n = said.trimmed().toInt(&number);
        if (number)
            display = QStringLiteral(":%1").arg(n);
    }
    ~Xvfb() {
        server.terminate();
        server.waitForFinished(3000);
    }
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;

    QProcess server;
    QString display; // ":N", or empty when the server did not come up
};

} // namespace navcal::test
