#pragma once

#include <QString>
#include <QStringList>

namespace navcal::platform {

// Made before the application connects to the display: settles how the
// windows' pixels will reach it. On X11 they travel by shared memory unless the
// user chose otherwise. Then the toolkit waits for the server (a round trip)
// before each repaint of a rectangle it has sent before: for a clock
// repainted every second that is several extra wake-ups a second. Sent over
// the connection, an idle second's few pixels cost less, and a whole frame
// costs no more as long as it fits in one request. With a larger monitor (a
// frame sent in pieces costs a copy the size of a request, and time) shared
// memory stays. On Wayland nothing of X11 is asked; only whether the
// compositor takes clients, so that neither display being there ends with a
// line rather than the toolkit's abort. Elsewhere nothing changes.
//
// The connection it opens is held until release(): an X server whose last
// client leaves resets, and a toolkit connecting during that reset fails
// (and aborts), so the first program on a bare server must not leave it
// without a client.
class PreparedDisplay {
  public:
    PreparedDisplay();
    ~PreparedDisplay();
    PreparedDisplay(const PreparedDisplay&) = delete;
    PreparedDisplay& operator=(const PreparedDisplay&) = delete;

    // False, with one line for the user in error(), when neither the
    // compositor nor the X display the run may use can be reached.
    bool usable() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }
    // Once the toolkit holds its own connection.
    void release();

    // What the toolkit is told of its platform, as its own command line.
    // On Windows its glyphs come from its own FreeType rasteriser: the
    // system's (GDI) engine draws small captions at a fractional display
    // scale (150%) from bitmaps cut to metrics of another resolution, so a
    // day's "8" loses its left half. Nothing when QT_QPA_PLATFORM chooses.
    QStringList toolkitArguments() const;

  private:
    QString m_error;
    void* m_connection = nullptr;
};

// What the toolkit is told, as its own command line, for a run that draws
// only into files: the offscreen platform, whatever the session has. On
// Windows that platform reads fonts from a folder of files, not from the
// system: it is pointed at the Windows fonts unless QT_QPA_FONTDIR says.
QStringList offscreenToolkitArguments();

// The line for a user whose X display (DISPLAY) cannot be opened.
QString displayUnavailable();

} // namespace navcal::platform
