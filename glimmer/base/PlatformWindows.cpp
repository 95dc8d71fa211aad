#include "glimmer/base/Platform.h"

#include <windows.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

void (*StopHandler)(int) = nullptr;

// Ctrl+C, Ctrl+Break and the console's close button arrive on a thread of
// their own; they count as an interrupt.
BOOL WINAPI OnConsoleControl(DWORD) {
    if (StopHandler) StopHandler(SIGINT);
    return TRUE;
}

}  // namespace

void PlatformSetEnvironment(const char* name, const char* value, bool replace) {
    if (!replace && std::getenv(name) != nullptr) return;
    _putenv_s(name, value);
}

void PlatformInstallStopHandler(void (*handler)(int)) {
    StopHandler = handler;
    std::signal(SIGINT, handler);
    std::signal(SIGTERM, handler);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

void* PlatformSdlFunction(const char* name) {
    // sdl12-compat is SDL.dll and loads SDL 2 as SDL2.dll; both are in the
    // process once the screen is open, so neither is loaded here.
    HMODULE library = GetModuleHandleA(std::strncmp(name, "SDL12COMPAT_", 12) == 0 ? "SDL.dll" : "SDL2.dll");
    if (!library) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(library, name));
}

bool PlatformShowScreen(const SDL_Surface*, const SDL_Rect*, int) { return false; }

void PlatformRunForever(void (*step)(), void (*rest)()) {
    for (;;) {
        step();
        rest();
    }
}
