#pragma once

#include <QString>

namespace navcal::platform {

// Plays and stops a music file named by its path. What a call achieves (no
// device, a damaged file) is never looked at by the program.
class MusicSink {
  public:
    virtual ~MusicSink() = default;
    virtual void play(const QString& path) = 0;
    virtual void stop(const QString& path) = 0;
};

// Takes every call and sounds nothing: a run inside a screensaver host's
// window is silent.
class SilentMusic final : public MusicSink {
  public:
    void play(const QString&) override {}
    void stop(const QString&) override {}
};

} // namespace navcal::platform
