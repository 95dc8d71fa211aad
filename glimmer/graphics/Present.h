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
//
// On that path the engine goes further once frames run: SDL_FBSurface becomes
// a screen over the window surface's own pixels, so a frame is drawn where it
// is shown and nothing is copied. SDL_Flip on it does nothing; the engine
// shows each frame itself. GLIMMER_DIRECT_SCREEN=0 keeps SDL's screen.

// Shows the whole screen.
void PresentWhole();

// Shows the given parts of the screen; the rest keeps what was shown before.
// Falls back to PresentWhole where parts cannot be shown alone.
void PresentParts(const SDL_Rect* parts, int count);

// Whether PresentParts shows parts alone; decided once per video mode.
bool PartialPresentAvailable();

// Forgets what was found out about the window (the video mode changed) and
// gives SDL_FBSurface back to the screen SDL made.
void ResetPresentation();

// Points SDL_FBSurface at the window surface's pixels, again after SDL made a
// new window surface, or back at SDL's screen where the window no longer
// fits; true when SDL_FBSurface changed, and with it what the screen holds.
// Called before each frame is drawn.
bool FollowWindowSurface();
