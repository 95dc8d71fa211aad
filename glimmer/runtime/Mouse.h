#pragma once

#include <SDL/SDL.h>

extern unsigned int TrackedWindow;  // window that receives motion; 0 for none
extern short TrackX0;               // free for the application
extern short TrackY0;

void MouseKey(const SDL_Event* event);
void MouseTrack(const SDL_Event* event);
