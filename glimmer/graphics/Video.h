#pragma once

#include <SDL/SDL.h>

// Starts SDL, opens the configured mode and settles the template pixel format.
void VideoInit();

// The screen surface: the one SDL_SetVideoMode made, set by VideoInit. Once
// frames run it may be a screen over the window's own pixels instead (see
// Present.h), so it is read afresh rather than kept.
extern SDL_Surface* SDL_FBSurface;
