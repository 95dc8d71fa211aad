#pragma once

#include <SDL/SDL.h>

#include "glimmer/runtime/Signals.h"

extern unsigned long Frames;
extern void (*FrameFunction)(unsigned int);
extern unsigned char FrameFunctionActive;
extern Uint32 StartTicks;
extern Uint32 FrameInterval;

void GlimmerInitEngine(const char* configPath);
[[noreturn]] void RunGlimmerEngine();
void RegisterFrameFunction(void (*f)(unsigned int));
void UnregisterFrameFunction();
Uint32 FrameTick(Uint32 interval);
int EngineEventFilter(const SDL_Event* event);

// How long the frame loop rests at most when its queue is empty, sinceFrame
// ms after it took the last frame event: until shortly after the next is
// due, then 1 ms at a time.
Uint32 IdleWait(Uint32 sinceFrame);

// Rests until FrameTick posts a frame event, at most `most` ms. A frame
// posted since the last rest ends it at once.
void RestUntilFrame(Uint32 most);

// Draws one frame exactly as the frame loop does for a frame event: frame
// function, draw pass, rate display, flip, Frames + 1.
void RunGlimmerFrame();

// Whether the last frame was drawn whole rather than only where it changed
// (see glimmer/runtime/FrameDamage.h for when that is).
bool LastFrameWhole();

