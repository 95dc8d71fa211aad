#include "glimmer/base/Platform.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// The canvas takes bytes in the order red, green, blue, alpha; the screen
// keeps its pixels in its own layout. Changed parts are repacked into a copy
// of the whole screen that the page wraps once as an image, and each part is
// put from that image, so a frame allocates nothing.
std::vector<Uint32> Repacked;

}  // namespace

// Puts the part of the repacked screen into the page's canvas; the image is
// made again when the copy moved (a new size, or grown memory).
EM_JS(void, GlimmerPutImage, (const void* rgba, int width, int height, int x, int y, int w, int h), {
    var canvas = Module['canvas'];
    if (!canvas) return;
    if (!Module.glimmerContext) Module.glimmerContext = canvas.getContext('2d');
    var image = Module.glimmerImage;
    if (!image || image.data.buffer !== HEAPU8.buffer || Module.glimmerImageAt !== rgba || image.width !== width ||
        image.height !== height) {
        image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4), width, height);
        Module.glimmerImage = image;
        Module.glimmerImageAt = rgba;
    }
    Module.glimmerContext.putImageData(image, 0, 0, x, y, w, h);
});

void PlatformSetEnvironment(const char* name, const char* value, bool replace) {
    setenv(name, value, replace ? 1 : 0);
}

// A page is never asked to stop; it is closed.
void PlatformInstallStopHandler(void (*)(int)) {}

// The page shows the screen itself, so SDL 2's window is never needed.
void* PlatformSdlFunction(const char*) { return nullptr; }

namespace {

// Repacks one part of the screen and puts it into the canvas.
void PutPart(const SDL_Surface* screen, int x0, int y0, int x1, int y1) {
    const SDL_PixelFormat& f = *screen->format;
    Repacked.resize(static_cast<size_t>(screen->w) * screen->h);
    for (int y = y0; y < y1; ++y) {
        const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(screen->pixels) +
                                                             static_cast<size_t>(y) * screen->pitch);
        Uint32* out = &Repacked[static_cast<size_t>(y) * screen->w];
        for (int x = x0; x < x1; ++x) {
            const Uint32 p = row[x];
            out[x] = ((p & f.Rmask) >> f.Rshift) | ((p & f.Gmask) >> f.Gshift) << 8 |
                     ((p & f.Bmask) >> f.Bshift) << 16 | 0xFF000000u;
        }
    }
    GlimmerPutImage(Repacked.data(), screen->w, screen->h, x0, y0, x1 - x0, y1 - y0);
}

}  // namespace

bool PlatformShowScreen(const SDL_Surface* screen, const SDL_Rect* parts, int count) {
    if (!screen || !screen->pixels || screen->format->BytesPerPixel != 4) return false;
    // Each put costs the browser a call and an image of its own: the parts
    // of one band of the screen (the frame loop lists them band by band) go
    // as one part from the first one's left to the last one's right.
    int i = 0;
    while (i < count) {
        const int y0 = parts[i].y < 0 ? 0 : parts[i].y;
        const int y1 = std::min<int>(screen->h, parts[i].y + parts[i].h);
        int x0 = parts[i].x < 0 ? 0 : parts[i].x;
        int x1 = std::min<int>(screen->w, parts[i].x + parts[i].w);
        int next = i + 1;
        for (; next < count && parts[next].y == parts[i].y && parts[next].h == parts[i].h; ++next) {
            x0 = std::min<int>(x0, parts[next].x < 0 ? 0 : parts[next].x);
            x1 = std::max<int>(x1, std::min<int>(screen->w, parts[next].x + parts[next].w));
        }
        if (x1 > x0 && y1 > y0) PutPart(screen, x0, y0, x1, y1);
        i = next;
    }
    return true;
}

void PlatformRunForever(void (*step)(), void (*)()) {
    // The browser calls step at each animation frame; main's stack is left
    // behind for good, as the desktop loop never returns either.
    emscripten_set_main_loop(step, 0, 1);
    std::abort();
}
