#include "glimmer/base/Platform.h"

#include <dlfcn.h>
#include <signal.h>

#include <cstdlib>
#include <cstring>

void PlatformSetEnvironment(const char* name, const char* value, bool replace) {
    setenv(name, value, replace ? 1 : 0);
}

void PlatformInstallStopHandler(void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void* PlatformSdlFunction(const char* name) {
    // sdl12-compat's own functions are found in the process; SDL 2's in the
    // SDL 2 library it loaded, which this only counts one more use of.
    if (std::strncmp(name, "SDL12COMPAT_", 12) == 0) return dlsym(RTLD_DEFAULT, name);
    void* sdl2 = dlopen("libSDL2-2.0.so.0", RTLD_LAZY | RTLD_NOLOAD);
    if (!sdl2) return nullptr;
    void* function = dlsym(sdl2, name);
    dlclose(sdl2);
    return function;
}

bool PlatformShowScreen(const SDL_Surface*, const SDL_Rect*, int) { return false; }

void PlatformRunForever(void (*step)(), void (*rest)()) {
    for (;;) {
        step();
        rest();
    }
}
