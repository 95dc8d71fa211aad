#pragma once

#include <SDL/SDL.h>

// Ends the program normally on a close request (SDL_QUIT: the window's close
// button, a desktop's "close window", or a Wayland compositor that has gone
// away) at any time. Keeps every other event until the first frame is on
// screen; after that any key or mouse event ends the program normally.
int CardEventFilter(const SDL_Event* event);

// Pixels (of the 800 x 600 design screen) the pointer may wander from where
// the card first saw it before its motion ends the card; 0, the default,
// ends it at the first motion. A screensaver lets a mouse's jitter pass.
extern int CardMotionAllowance;

// Lets SDL gather what the desktop has sent and ends the program normally when
// a close request is among it, whichever filter is installed; called while
// the scene is built, before the frame loop polls.
void EndCardIfCloseRequested();
