#include "glimmer/graphics/Present.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "glimmer/base/Platform.h"
#include "glimmer/graphics/Blitter.h"
#include "glimmer/graphics/Video.h"

namespace {

// The start of SDL 2's public SDL_PixelFormat, SDL_Surface and SDL_Rect, whose
// layout SDL 2 keeps for its whole series.
struct Sdl2PixelFormat {
    Uint32 format;
    void* palette;
    Uint8 BitsPerPixel;
    Uint8 BytesPerPixel;
    Uint8 padding[2];
    Uint32 Rmask;
    Uint32 Gmask;
    Uint32 Bmask;
    Uint32 Amask;
};
struct Sdl2Surface {
    Uint32 flags;
    Sdl2PixelFormat* format;
    int w;
    int h;
    int pitch;
    void* pixels;
    void* userdata;
};
struct Sdl2Rect {
    int x;
    int y;
    int w;
    int h;
};

using GetWindowFn = void* (*)();
using GetWindowSurfaceFn = Sdl2Surface* (*)(void*);
using UpdateRectsFn = int (*)(void*, const Sdl2Rect*, int);

struct PartialPath {
    bool decided = false;
    bool usable = false;
    void* window = nullptr;
    GetWindowSurfaceFn getSurface = nullptr;
    UpdateRectsFn update = nullptr;
    std::vector<Sdl2Rect> rects;
};

PartialPath Path;

// Once frames run, the engine draws straight into the window's own surface
// through a screen made over its pixels: the copy of every changed pixel
// into the window, most of a partial present's work, is then not needed.
// The screen SDL_SetVideoMode made is kept for when the window's surface no
// longer fits.
struct DirectScreen {
    bool declined = false;
    SDL_Surface* video = nullptr;
    SDL_Surface* screen = nullptr;
};

DirectScreen Direct;

bool DirectSwitchedOff() {
    const char* value = std::getenv("GLIMMER_DIRECT_SCREEN");
    return value && std::strcmp(value, "0") == 0;
}

bool DrawingIntoWindow() { return SDL_FBSurface && SDL_FBSurface == Direct.screen; }

// The screen's pixels are the window surface's only while SDL keeps that
// surface; it makes a new one when the window changes size, maybe at the same
// address. The surface drawn into carries a mark of ours (its application
// data) that a new one lacks.
bool StillOver(const SDL_Surface* screen, const Sdl2Surface* window) {
    return window && window->userdata == &Direct && window->pixels == screen->pixels &&
           window->pitch == screen->pitch && window->w == screen->w && window->h == screen->h;
}

void LeaveDirectScreen() {
    if (!Direct.screen) return;
    if (SDL_FBSurface == Direct.screen) SDL_FBSurface = Direct.video;
    // Made over pixels it does not own: freeing it leaves them alone.
    SDL_FreeSurface(Direct.screen);
    Direct.screen = nullptr;
}

bool SwitchedOff() {
    const char* value = std::getenv("GLIMMER_PARTIAL_PRESENT");
    return value && std::strcmp(value, "0") == 0;
}

bool SameLayout(const SDL_Surface* screen, const Sdl2Surface* window) {
    const SDL_PixelFormat* a = screen->format;
    const Sdl2PixelFormat* b = window->format;
    return b && a->BytesPerPixel == 4 && b->BytesPerPixel == 4 && a->Rmask == b->Rmask && a->Gmask == b->Gmask &&
           a->Bmask == b->Bmask && window->w == screen->w && window->h == screen->h && window->pixels;
}

void Decide() {
    Path = PartialPath();
    Path.decided = true;
    SDL_Surface* screen = SDL_FBSurface;
    if (SwitchedOff() || !screen || (screen->flags & SDL_OPENGL)) return;
    // Only sdl12-compat names its SDL 2 window.
    auto getWindow = reinterpret_cast<GetWindowFn>(PlatformSdlFunction("SDL12COMPAT_GetWindow"));
    if (!getWindow) return;
    Path.getSurface = reinterpret_cast<GetWindowSurfaceFn>(PlatformSdlFunction("SDL_GetWindowSurface"));
    Path.update = reinterpret_cast<UpdateRectsFn>(PlatformSdlFunction("SDL_UpdateWindowSurfaceRects"));
    Path.window = getWindow();
    if (!Path.getSurface || !Path.update || !Path.window) return;
    const Sdl2Surface* surface = Path.getSurface(Path.window);
    Path.usable = surface && SameLayout(screen, surface);
}

}  // namespace

bool PartialPresentAvailable() {
    if (!Path.decided) Decide();
    return Path.usable;
}

void ResetPresentation() {
    LeaveDirectScreen();
    Direct = DirectScreen();
    Path = PartialPath();
}

bool FollowWindowSurface() {
    if (Direct.declined || !SDL_FBSurface) return false;
    if (!Direct.screen) {
        if (DirectSwitchedOff() || !PartialPresentAvailable()) {
            Direct.declined = true;
            return false;
        }
        Direct.video = SDL_FBSurface;
    }
    Sdl2Surface* window = Path.getSurface(Path.window);
    if (Direct.screen && StillOver(Direct.screen, window)) return false;
    LeaveDirectScreen();
    if (window && SameLayout(Direct.video, window)) {
        const SDL_PixelFormat* format = Direct.video->format;
        Direct.screen = SDL_CreateRGBSurfaceFrom(window->pixels, window->w, window->h, 32, window->pitch,
                                                 format->Rmask, format->Gmask, format->Bmask, 0);
    }
    if (Direct.screen) {
        window->userdata = &Direct;
        SDL_FBSurface = Direct.screen;
    } else {
        // Back to the screen SDL made, for good; the present copies it over
        // as before, or flips where the window no longer fits.
        Direct.declined = true;
    }
    return true;
}

void PresentWhole() {
    if (!SDL_FBSurface) return;
    const SDL_Rect all = {0, 0, static_cast<Uint16>(SDL_FBSurface->w), static_cast<Uint16>(SDL_FBSurface->h)};
    if (PlatformShowScreen(SDL_FBSurface, &all, 1)) return;
    if (!DrawingIntoWindow()) {
        SDL_Flip(SDL_FBSurface);
        return;
    }
    // A flip would show SDL's own screen, which holds none of this.
    const Sdl2Surface* window = Path.getSurface(Path.window);
    if (!StillOver(SDL_FBSurface, window)) return;
    const Sdl2Rect whole = {0, 0, window->w, window->h};
    Path.update(Path.window, &whole, 1);
}

void PresentParts(const SDL_Rect* parts, int count) {
    if (SDL_FBSurface && PlatformShowScreen(SDL_FBSurface, parts, count)) return;
    if (!PartialPresentAvailable()) {
        PresentWhole();
        return;
    }
    SDL_Surface* screen = SDL_FBSurface;
    Sdl2Surface* window = Path.getSurface(Path.window);
    const bool direct = DrawingIntoWindow();
    // Changed since the frame was drawn: the next frame finds the new one.
    if (direct && !StillOver(screen, window)) return;
    // The window surface is made again when the window changes; a new one
    // that no longer matches the screen gets whole frames from then on.
    if (!window || !SameLayout(screen, window)) {
        Path.usable = false;
        PresentWhole();
        return;
    }
    Path.rects.clear();
    const Uint8* from = static_cast<const Uint8*>(screen->pixels);
    Uint8* to = static_cast<Uint8*>(window->pixels);
    // The window surface is not read between frames, so the parts are far
    // from the processor: asking for a few parts ahead overlaps the loads.
    constexpr int Ahead = 4;
    for (int i = 0; i < count; ++i) {
        if (!direct && i + Ahead < count) {
            const SDL_Rect& next = parts[i + Ahead];
            if (next.x >= 0 && next.y >= 0 && next.x + next.w <= screen->w && next.y + next.h <= screen->h)
                PrefetchRows(to + static_cast<ptrdiff_t>(next.y) * window->pitch + next.x * 4, window->pitch, next.w * 4,
                             std::min(static_cast<int>(next.h), 32), true);
        }
        const int x0 = std::max(0, static_cast<int>(parts[i].x));
        const int y0 = std::max(0, static_cast<int>(parts[i].y));
        const int x1 = std::min(screen->w, parts[i].x + parts[i].w);
        const int y1 = std::min(screen->h, parts[i].y + parts[i].h);
        if (x1 <= x0 || y1 <= y0) continue;
        if (!direct)
            for (int y = y0; y < y1; ++y)
                std::memcpy(to + static_cast<ptrdiff_t>(y) * window->pitch + x0 * 4,
                            from + static_cast<ptrdiff_t>(y) * screen->pitch + x0 * 4, static_cast<size_t>(x1 - x0) * 4);
        Path.rects.push_back({x0, y0, x1 - x0, y1 - y0});
    }
    if (Path.rects.empty()) return;
    if (Path.update(Path.window, Path.rects.data(), static_cast<int>(Path.rects.size())) != 0) PresentWhole();
}
