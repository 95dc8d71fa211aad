#pragma once

#include <SDL/SDL.h>

// Keeps every event until the first frame is on screen; after that any key or
// mouse event ends the program normally.
int CardEventFilter(const SDL_Event* event);
