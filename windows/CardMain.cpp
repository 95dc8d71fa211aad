// sdl12-compat's header renames the card's main to SDL_main on Windows, as
// SDL 1.2 did for its SDLmain library; this is the real entry point instead,
// which leaves the card's output where it was rather than in stdout.txt.
#include <SDL/SDL.h>
#undef main

int main(int argc, char** argv) { return SDL_main(argc, argv); }
