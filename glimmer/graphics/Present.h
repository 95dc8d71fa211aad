#pragma once

#include <SDL/SDL.h>

// How a drawn frame reaches the display.
//
// SDL_Flip hands the whole screen over on every frame, however little of it
// changed. Where the engine runs on sdl12-compat, which shows the screen in an
// SDL 2 window, the changed rectangles alone can be copied into that window's
// own surface and shown through SDL 2, which the window system does for a
// fraction of the work. That path is taken only for a software screen of 32
// bits whose window surface has its size and pixel layout; everywhere else
// (OpenGL modes, another SDL, a window without such a surface) every present
// is a flip. GLIMMER_PARTIAL_PRESENT=0 in the environment switches it off.

// Shows the whole screen.
void PresentWhole();

// Shows the given parts of the screen; the rest keeps what was shown before.
// Falls back to PresentWhole where parts cannot be shown alone.
void PresentParts(const SDL_Rect* parts, int count);

// Whether PresentParts shows parts alone; decided once per video mode.
bool PartialPresentAvailable();

// Forgets what was found out about the window (the video mode changed).
void ResetPresentation();
