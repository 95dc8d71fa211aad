#pragma once

// The one way the tests read a pixel: from any surface of 1 to 4 bytes per
// pixel, through the surface's own format.

#include <SDL/SDL.h>

struct Rgba {
    int r, g, b, a;
};

inline Rgba PixelAt(SDL_Surface* surface, int x, int y) {
    SDL_LockSurface(surface);
    const int bpp = surface->format->BytesPerPixel;
    const Uint8* at = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bpp;
    Uint32 pixel = 0;
    for (int i = 0; i < bpp; ++i) pixel |= static_cast<Uint32>(at[i]) << (8 * i);
    SDL_UnlockSurface(surface);
    Uint8 r, g, b, a;
    SDL_GetRGBA(pixel, surface->format, &r, &g, &b, &a);
    return {r, g, b, a};
}

// The pixel's colour as 0xRRGGBB.
inline Uint32 RgbAt(SDL_Surface* surface, int x, int y) {
    const Rgba p = PixelAt(surface, x, y);
    return static_cast<Uint32>(p.r) << 16 | static_cast<Uint32>(p.g) << 8 | static_cast<Uint32>(p.b);
}
