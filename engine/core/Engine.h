#pragma once

#include <SDL/SDL.h>

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

// Draws one frame exactly as the frame loop does for a frame event: frame
// function, draw pass, rate display, flip, Frames + 1.
void RunGlimmerFrame();
