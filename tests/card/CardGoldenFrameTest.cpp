// Frame 100 of the default card, as the build assembles it, compared with the
// picture committed in tests/data. The clock is fixed by handing the card's
// own time function a fixed moment, and rand() is never seeded, so every run
// draws the same frame; a change that moves a flake or a letter shows here.
//
// To renew the picture on purpose, after looking at the new frame:
//   GLIMMER_RENEW_GOLDEN=1 ctest --test-dir build -R CardGoldenFrame
// which writes tests/data/card_frame100.png instead of comparing.

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "card/Card.h"
#include <glimmer/glimmer.h>
#include "tests/card/CardWorld.h"
#include "tests/support/TestWorld.h"

namespace {

// 30 seconds before the target, with the clock in UTC.
constexpr time_t FixedMoment = 1072915200 - 30;

void FixedClockFrame(unsigned int) {
    ShowCardTime(FixedMoment);
    MoveCardParticles();
}

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

RgbaImage ScreenImage() {
    SDL_Surface* s = SDL_FBSurface;
    RgbaImage image(s->w, s->h);
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; ++y) {
        for (int x = 0; x < s->w; ++x) {
            const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * 4;
            Uint8* out = image.At(x, y);
            SDL_GetRGB(*reinterpret_cast<const Uint32*>(p), s->format, &out[0], &out[1], &out[2]);
            out[3] = 255;
        }
    }
    SDL_UnlockSurface(s);
    return image;
}

bool LoadImage(const std::string& path, RgbaImage& image) {
    std::unique_ptr<SDL_Surface, SurfaceFree> loaded(IMG_Load(path.c_str()));
    if (!loaded) return false;
    SDL_PixelFormat format = {};
    format.BitsPerPixel = 32;
    format.BytesPerPixel = 4;
    format.Rmask = 0x00FF0000;
    format.Gmask = 0x0000FF00;
    format.Bmask = 0x000000FF;
    format.Amask = 0xFF000000;
    format.Rshift = 16;
    format.Gshift = 8;
    format.Bshift = 0;
    format.Ashift = 24;
    format.alpha = 255;
    std::unique_ptr<SDL_Surface, SurfaceFree> s(SDL_ConvertSurface(loaded.get(), &format, SDL_SWSURFACE));
    if (!s) return false;
    image = RgbaImage(s->w, s->h);
    SDL_LockSurface(s.get());
    for (int y = 0; y < s->h; ++y) {
        for (int x = 0; x < s->w; ++x) {
            Uint32 v = *reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * 4);
            Uint8* out = image.At(x, y);
            out[0] = static_cast<Uint8>(v >> 16);
            out[1] = static_cast<Uint8>(v >> 8);
            out[2] = static_cast<Uint8>(v);
            out[3] = 255;
        }
    }
    SDL_UnlockSurface(s.get());
    return true;
}

}  // namespace

TEST(CardGoldenFrame, Frame100OfTheDefaultCardMatchesTheCommittedPicture) {
    const std::string folder = std::string(GLIMMER_BINARY_DIR) + "/solvane";
    const std::string expectedPath = std::string(GLIMMER_TEST_DATA_DIR) + "/card_frame100.png";
    ASSERT_TRUE(FileExists(folder + "/data/bg/skysong.png")) << "the card's folder is not built: " << folder;
    RgbaImage actual;
    {
        ScopedChdir inFolder(folder);
        StartShippedCard();
        RegisterFrameFunction(FixedClockFrame);
        for (int frame = 0; frame <= 100; ++frame) RunGlimmerFrame();
        ASSERT_EQ(Frames, 101u);
        actual = ScreenImage();
    }
    ASSERT_EQ(actual.Width, 800);
    ASSERT_EQ(actual.Height, 600);

    if (std::getenv("GLIMMER_RENEW_GOLDEN")) {
        ASSERT_TRUE(WritePng(expectedPath, actual));
        GTEST_SKIP() << "renewed " << expectedPath;
    }

    RgbaImage expected;
    ASSERT_TRUE(LoadImage(expectedPath, expected)) << expectedPath;
    ASSERT_EQ(expected.Width, actual.Width);
    ASSERT_EQ(expected.Height, actual.Height);
    // Rasterisers may differ by a few levels on glyph edges; anything more,
    // on more than a handful of pixels, is a changed frame.
    int differing = 0;
    for (int y = 0; y < actual.Height; ++y) {
        for (int x = 0; x < actual.Width; ++x) {
            const Uint8* a = actual.At(x, y);
            const Uint8* e = expected.At(x, y);
            for (int k = 0; k < 3; ++k) {
                if (std::abs(a[k] - e[k]) > 16) {
                    ++differing;
                    break;
                }
            }
        }
    }
    if (differing > 8) WritePng(std::string(GLIMMER_BINARY_DIR) + "/card_frame100_actual.png", actual);
    EXPECT_LE(differing, 8) << "frame 100 differs from " << expectedPath << "; this run's frame is in "
                            << GLIMMER_BINARY_DIR << "/card_frame100_actual.png";
}
