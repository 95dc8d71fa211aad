// The engine's own blit must leave every pixel exactly as SDL's would.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include <glimmer/glimmer.h>
#include "tests/graphics/GraphicsWorld.h"

namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

WorldOptions Screen32() {
    WorldOptions options;
    options.Bpp = 32;
    return options;
}

// A surface in the screen's channel order, with or without an alpha byte.
SurfacePtr Surface(int w, int h, bool alpha) {
    const SDL_PixelFormat* screen = SDL_FBSurface->format;
    return SurfacePtr(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, screen->Rmask, screen->Gmask, screen->Bmask,
                                           alpha ? 0xff000000u : 0));
}

Uint32* Row(SDL_Surface* surface, int y) {
    return reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch);
}

void FillRandom(SDL_Surface* surface, Uint32 seed) {
    for (int y = 0; y < surface->h; ++y)
        for (int x = 0; x < surface->w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            Row(surface, y)[x] = seed;
        }
}

std::vector<Uint32> Pixels(SDL_Surface* surface) {
    std::vector<Uint32> all;
    for (int y = 0; y < surface->h; ++y) all.insert(all.end(), Row(surface, y), Row(surface, y) + surface->w);
    return all;
}

}  // namespace

TEST(Blitter, BlendsEveryAlphaOverEveryPairOfByteValuesExactlyAsSdl) {
    GraphicsWorld world(Screen32());
    SurfacePtr picture = Surface(256, 256, true);
    SurfacePtr ours = Surface(256, 256, false);
    SurfacePtr sdl = Surface(256, 256, false);
    ASSERT_TRUE(picture && ours && sdl);
    SDL_SetAlpha(picture.get(), SDL_SRCALPHA, SDL_ALPHA_OPAQUE);
    // Each byte of the picture meets every value of the same byte on the
    // screen: x against y, y against x, and two more orders; the screen's
    // unused byte takes every value against the picture's alpha.
    for (Uint32 alpha = 0; alpha < 256; ++alpha) {
        for (Uint32 y = 0; y < 256; ++y)
            for (Uint32 x = 0; x < 256; ++x) {
                Row(picture.get(), y)[x] = alpha << 24 | x << 16 | y << 8 | (255 - x);
                Row(ours.get(), y)[x] = x << 24 | y << 16 | x << 8 | (y ^ 0x5a);
            }
        SDL_BlitSurface(ours.get(), nullptr, sdl.get(), nullptr);
        SDL_Rect at = {0, 0, 0, 0};
        ASSERT_EQ(SDL_UpperBlit(picture.get(), nullptr, sdl.get(), &at), 0);
        // In strips of one to seven pixels: rows end in every way a group of
        // four can be cut short.
        for (int x = 0, w = 1; x < 256; x += w, w = w % 7 + 1) {
            const SDL_Rect strip = {static_cast<Sint16>(x), 0, static_cast<Uint16>(w), 256};
            ASSERT_TRUE(QuickBlit(picture.get(), &strip, ours.get(), x, 0)) << "alpha " << alpha;
        }
        ASSERT_EQ(Pixels(ours.get()), Pixels(sdl.get())) << "alpha " << alpha;
    }
}

TEST(Blitter, DrawsEveryKindOfPictureAndEveryClippingAsSdl) {
    GraphicsWorld world(Screen32());
    struct Kind {
        const char* name;
        bool alpha;
        Uint32 flags;
        Uint8 surfaceAlpha;
        bool colourKey;
    };
    const Kind kinds[] = {
        {"translucent", true, SDL_SRCALPHA, 255, false},
        {"opaque copy", false, 0, 255, false},
        {"colour key", false, 0, 255, true},
        {"half the whole surface", false, SDL_SRCALPHA, 128, false},
        {"translucent and half the surface", true, SDL_SRCALPHA, 128, false},
        {"alpha channel ignored", true, 0, 255, false},
    };
    struct Case {
        SDL_Rect part;
        bool wholePicture;
        int x, y;
        SDL_Rect clip;
    };
    const SDL_Rect all = {0, 0, 64, 48};
    const Case cases[] = {
        {{0, 0, 0, 0}, true, 5, 7, all},
        {{0, 0, 0, 0}, true, -9, -4, all},
        {{0, 0, 0, 0}, true, 50, 40, all},
        {{3, 2, 11, 9}, false, 20, 30, all},
        {{-4, -3, 12, 10}, false, 1, 1, all},
        {{30, 25, 40, 40}, false, 6, 6, all},
        {{0, 0, 0, 0}, true, 10, 10, {12, 9, 20, 7}},
        {{2, 2, 30, 30}, false, -3, 40, {0, 42, 64, 6}},
        {{0, 0, 0, 0}, true, 70, 10, all},
    };
    for (const Kind& kind : kinds) {
        SurfacePtr picture = Surface(37, 29, kind.alpha);
        FillRandom(picture.get(), 7);
        SDL_SetAlpha(picture.get(), kind.flags, kind.surfaceAlpha);
        if (kind.colourKey) SDL_SetColorKey(picture.get(), SDL_SRCCOLORKEY, Row(picture.get(), 3)[4]);
        for (const Case& c : cases) {
            SurfacePtr ours = Surface(64, 48, false);
            SurfacePtr sdl = Surface(64, 48, false);
            FillRandom(ours.get(), 99);
            FillRandom(sdl.get(), 99);
            SDL_SetClipRect(ours.get(), &c.clip);
            SDL_SetClipRect(sdl.get(), &c.clip);
            SDL_Rect part = c.part, sdlPart = c.part;
            SDL_Rect place = {static_cast<Sint16>(c.x), static_cast<Sint16>(c.y), 0, 0}, sdlPlace = place;
            ASSERT_EQ(BlitPicture(picture.get(), c.wholePicture ? nullptr : &part, ours.get(), &place), 0);
            ASSERT_EQ(SDL_UpperBlit(picture.get(), c.wholePicture ? nullptr : &sdlPart, sdl.get(), &sdlPlace), 0);
            EXPECT_EQ(Pixels(ours.get()), Pixels(sdl.get()))
                << kind.name << ", at " << c.x << "," << c.y << ", part " << c.part.x << "," << c.part.y;
        }
    }
}
