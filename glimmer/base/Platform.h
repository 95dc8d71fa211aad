#pragma once

#include <SDL/SDL.h>

// What the engine needs from the system under it, in one place. Each
// platform implements these in a file of its own (PlatformPosix.cpp,
// PlatformWeb.cpp) and the build takes one; the rest of the engine never
// asks which platform it runs on.

// Sets an environment variable; an existing value is kept unless replace.
void PlatformSetEnvironment(const char* name, const char* value, bool replace);

// Has handler called with the request's number when the user asks the
// program to stop from outside (an interrupt or a termination request).
// Platforms without such requests never call it.
void PlatformInstallStopHandler(void (*handler)(int));

// A function of the SDL libraries the program runs on, by name: sdl12-compat's
// SDL12COMPAT_GetWindow and SDL 2's SDL_GetWindowSurface and
// SDL_UpdateWindowSurfaceRects. Null where there is no such function.
void* PlatformSdlFunction(const char* name);

// Shows the given parts of the screen by the platform's own means, where it
// has them and they do less work than SDL's (the web page's canvas, which
// SDL 2 repaints whole on every update). False
// where the platform has none: the caller then takes SDL's way.
bool PlatformShowScreen(const SDL_Surface* screen, const SDL_Rect* parts, int count);

// Runs step for ever. The desktop calls rest() after each step, which returns
// once there may be something to do; the web page hands control back to the
// browser instead and steps again at its next animation frame.
[[noreturn]] void PlatformRunForever(void (*step)(), void (*rest)());
