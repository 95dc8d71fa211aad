#pragma once

// Small pieces the engine's own sources share. Not installed: programs using
// the engine do not see these names.

#include <SDL/SDL.h>

// The video flags that ask for an OpenGL mode (SDL_OPENGL, and SDL_OPENGLBLIT,
// which includes it).
constexpr Uint32 OpenGLVideoFlags = SDL_OPENGL | SDL_OPENGLBLIT;

// A double truncated toward zero, clamped to the int range; not a number gives 0.
int TruncToInt(double value);

// A heap copy of a text that the caller owns (delete[]); null stays null.
// Without memory for it the program ends with ErrorCode::NoMemory.
char* CopyText(const char* text);

// Closes the file system when Error ends the program; set by the file system
// itself (resources/FileSystem.cpp), which sits above the error handling.
extern void (*CloseFileSystemAtExit)();
