#include "platform/AudioLibrary.h"

#include <QtGlobal>

#ifndef Q_OS_WIN
#include <dlfcn.h>
#endif

namespace navcal::platform {

namespace {

AudioLibrary load() {
    AudioLibrary library;
#ifdef Q_OS_WIN
    // Linked in statically.
#define NAVCAL_AUDIO_BIND(name) library.name = &::name;
    NAVCAL_AUDIO_FUNCTIONS(NAVCAL_AUDIO_BIND)
#undef NAVCAL_AUDIO_BIND
#else
    void* handle = dlopen("libSDL2_mixer-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        return {};
        // The SDL functions are found among the mixer's own dependencies.
#define NAVCAL_AUDIO_BIND(name)                                                                    \
    library.name = reinterpret_cast<decltype(library.name)>(dlsym(handle, #name));                 \
    if (library.name == nullptr)                                                                   \
        return {};
    NAVCAL_AUDIO_FUNCTIONS(NAVCAL_AUDIO_BIND)
#undef NAVCAL_AUDIO_BIND
    // Kept loaded for the life of the process: SDL's threads may run its code.
#endif
    return library;
}

} // namespace

const AudioLibrary* audioLibrary() {
    static const AudioLibrary library = load();
    return library.Mix_OpenAudio != nullptr ? &library : nullptr;
}

} // namespace navcal::platform
