#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace navcal::platform {

// A desktop's settings tool run to its end (20 s at most).
struct ToolRun {
    bool finished = false; // started and ended by itself
    int code = -1;
    QByteArray out;
    QString err;
    bool ok() const { return finished && code == 0; }
};

ToolRun runTool(const QString& program, const QStringList& arguments);

// One line for the user on a run that failed: the tool, and what it said.
QString toolFailure(const QString& program, const ToolRun& run);

} // namespace navcal::platform
