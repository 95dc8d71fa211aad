#pragma once

#include <SDL/SDL.h>

// Starts SDL, opens the configured mode and settles the template pixel format.
void VideoInit();

// The screen surface; set once by VideoInit.
extern SDL_Surface* SDL_FBSurface;
