#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

namespace navcal::platform {

// The functions of the audio library that the music player uses.
#define NAVCAL_AUDIO_FUNCTIONS(X)                                                                  \
    X(SDL_SetHint)                                                                                 \
    X(SDL_Init)                                                                                    \
    X(SDL_Quit)                                                                                    \
    X(SDL_QuitSubSystem)                                                                           \
    X(SDL_RWFromConstMem)                                                                          \
    X(Mix_Init)                                                                                    \
    X(Mix_Quit)                                                                                    \
    X(Mix_OpenAudio)                                                                               \
    X(Mix_CloseAudio)                                                                              \
    X(Mix_SetSoundFonts)                                                                           \
    X(Mix_PlayingMusic)                                                                            \
    X(Mix_LoadMUSType_RW)                                                                          \
    X(Mix_PlayMusic)                                                                               \
    X(Mix_HaltMusic)                                                                               \
    X(Mix_FreeMusic)

struct AudioLibrary {
#define NAVCAL_AUDIO_POINTER(name) decltype(&::name) name = nullptr;
    NAVCAL_AUDIO_FUNCTIONS(NAVCAL_AUDIO_POINTER)
#undef NAVCAL_AUDIO_POINTER
};

// The audio library, loaded on the first call: on Linux it and its decoders
// (dozens of shared libraries) are mapped only when there is music to play.
// nullptr when it cannot be loaded.
const AudioLibrary* audioLibrary();

} // namespace navcal::platform
