#pragma once

#include <QByteArray>
#include <QString>

namespace navcal::platform {

// The one way a file is written: `bytes` into `file`, whole or not at all.
// Returns an empty string when the file holds all of `bytes`, else why not
// (the system's own words).
//
// "-" is standard output. A regular file, or none yet, is written beside its
// place, synced and renamed over it only when complete: any failure (open,
// write, sync, rename, a termination signal) leaves the file that stood there
// as it was and nothing beside it. A symbolic link is followed and its target
// replaced. An existing named pipe, device or socket is written into, as a
// shell's ">" would, never replaced; a folder is refused. A termination signal
// ends the write at once, also while it waits for a pipe's reader.
QString writeWhole(const QString& file, const QByteArray& bytes);

} // namespace navcal::platform
