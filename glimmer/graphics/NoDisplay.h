#pragma once

#include <string>

// Without a display SDL does not fail: it falls back to a video driver that
// draws into memory (offscreen, dummy), and a program would run unseen until
// killed. Tests and tools that want such a driver name it in SDL_VIDEODRIVER.

// Whether the driver SDL chose shows nothing while requested, the value of
// SDL_VIDEODRIVER (null when unset; it may list several, separated by commas),
// does not name it.
bool NoDisplay(const char* chosen, const char* requested);

// What is missing and what to do, for the driver chosen and the values of
// DISPLAY and WAYLAND_DISPLAY (null when unset).
std::string NoDisplayMessage(const char* chosen, const char* display, const char* waylandDisplay);
