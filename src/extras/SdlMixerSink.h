#pragma once

#include "extras/Multimedia.h"

namespace navcal::extras {

// PLACEHOLDER until the SDL2_mixer player lands: accepts and ignores commands.
class SdlMixerSink final : public MultimediaCommandSink {
public:
    void execute(const QString&) override {}
};

} // namespace navcal::extras
