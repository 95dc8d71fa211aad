// Sprites without a single translucent pixel are drawn by copying their
// pixels; whatever makes a pixel translucent brings the blending back.
#include <gtest/gtest.h>

#include <string>

#include <glimmer/glimmer.h>
#include "tests/graphics/GraphicsWorld.h"

namespace {

const std::uint8_t Clear[4] = {0, 0, 0, 0};
const std::uint8_t Orange[4] = {250, 120, 10, 255};

WorldOptions Screen32() {
    WorldOptions options;
    options.Bpp = 32;
    return options;
}

// Each pixel its own colour, all fully opaque.
RgbaImage Gradient(int w, int h) {
    RgbaImage image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = image.At(x, y);
            p[0] = static_cast<std::uint8_t>(20 * x + 3);
            p[1] = static_cast<std::uint8_t>(30 * y + 7);
            p[2] = static_cast<std::uint8_t>(x * y);
            p[3] = 255;
        }
    return image;
}

Sprite* LoadedSprite(const GraphicsWorld& world, const RgbaImage& picture) {
    EXPECT_TRUE(world.WritePicture("pic.png", picture));
    world.WriteData("pic.spr", "pic.png 0 0\n");
    short params[2] = {0, 0};
    Sprite* sprite = ObjectOf<Sprite>(GDT.CreateDescriptor(TypeSprite, params, 1));
    sprite->Load("pic.spr", 0, 1.0f, 1.0f);
    return sprite;
}

void ExpectPixel(SDL_Surface* surface, int x, int y, int r, int g, int b) {
    const Rgba p = PixelAt(surface, x, y);
    EXPECT_EQ(p.r, r) << "at " << x << "," << y;
    EXPECT_EQ(p.g, g) << "at " << x << "," << y;
    EXPECT_EQ(p.b, b) << "at " << x << "," << y;
}

}  // namespace

TEST(OpaqueSprite, IsDrawnWithExactlyItsOwnColoursOnA32BitScreen) {
    GraphicsWorld world(Screen32());
    RgbaImage picture = Gradient(12, 8);
    Sprite* sprite = LoadedSprite(world, picture);
    Fill(SDL_FBSurface, 0, 0, 255);
    sprite->PutSprite(5, 6, nullptr);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x) {
            const std::uint8_t* c = picture.At(x, y);
            ExpectPixel(SDL_FBSurface, 5 + x, 6 + y, c[0], c[1], c[2]);
        }
    ExpectPixel(SDL_FBSurface, 4, 6, 0, 0, 255);
    ExpectPixel(SDL_FBSurface, 17, 13, 0, 0, 255);
}

TEST(OpaqueSprite, PartDrawnThroughAClipRectangleKeepsItsColours) {
    GraphicsWorld world(Screen32());
    RgbaImage picture = Gradient(12, 8);
    Sprite* sprite = LoadedSprite(world, picture);
    Fill(SDL_FBSurface, 0, 0, 0);
    SDL_Rect part = {3, 2, 4, 5};
    sprite->PutSprite(40, 50, &part, nullptr);
    const std::uint8_t* corner = picture.At(3, 2);
    ExpectPixel(SDL_FBSurface, 40, 50, corner[0], corner[1], corner[2]);
    const std::uint8_t* last = picture.At(6, 6);
    ExpectPixel(SDL_FBSurface, 43, 54, last[0], last[1], last[2]);
    ExpectPixel(SDL_FBSurface, 44, 54, 0, 0, 0);
}

TEST(OpaqueSprite, PartlyOffTheScreenDrawsTheColumnsThatAreOn) {
    GraphicsWorld world(Screen32());
    RgbaImage picture = Gradient(12, 8);
    Sprite* sprite = LoadedSprite(world, picture);
    Fill(SDL_FBSurface, 0, 0, 0);
    sprite->PutSprite(-3, 590, nullptr);
    for (int x = 0; x < 9; ++x) {
        const std::uint8_t* c = picture.At(x + 3, 0);
        ExpectPixel(SDL_FBSurface, x, 590, c[0], c[1], c[2]);
    }
    ExpectPixel(SDL_FBSurface, 9, 590, 0, 0, 0);
    const std::uint8_t* bottom = picture.At(3, 7);
    ExpectPixel(SDL_FBSurface, 0, 597, bottom[0], bottom[1], bottom[2]);

    Fill(SDL_FBSurface, 0, 0, 0);
    SDL_Rect column = {5, 0, 1, 8};
    sprite->PutSprite(100, 100, &column, nullptr);
    const std::uint8_t* c = picture.At(5, 4);
    ExpectPixel(SDL_FBSurface, 100, 104, c[0], c[1], c[2]);
    ExpectPixel(SDL_FBSurface, 101, 104, 0, 0, 0);
}

TEST(OpaqueSprite, OneTransparentPixelStillShowsTheScreenBehindIt) {
    GraphicsWorld world(Screen32());
    RgbaImage picture = FramedPicture(6, 6, 0, Orange, Orange);
    for (int i = 0; i < 4; ++i) picture.At(2, 3)[i] = Clear[i];
    Sprite* sprite = LoadedSprite(world, picture);
    Fill(SDL_FBSurface, 0, 90, 0);
    sprite->PutSprite(0, 0, nullptr);
    ExpectPixel(SDL_FBSurface, 2, 3, 0, 90, 0);
    ExpectPixel(SDL_FBSurface, 3, 3, 250, 120, 10);
}

TEST(OpaqueSprite, BlendsAgainOnceSetAlphaMadeItTranslucent) {
    GraphicsWorld world(Screen32());
    Sprite* sprite = LoadedSprite(world, FramedPicture(6, 6, 0, Orange, Orange));
    Fill(SDL_FBSurface, 0, 0, 200);
    sprite->PutSprite(0, 0, nullptr);
    ExpectPixel(SDL_FBSurface, 1, 1, 250, 120, 10);

    sprite->SetAlpha(128);
    Fill(SDL_FBSurface, 0, 0, 200);
    sprite->PutSprite(0, 0, nullptr);
    const Rgba mixed = PixelAt(SDL_FBSurface, 1, 1);
    EXPECT_NEAR(mixed.r, 125, 2);
    EXPECT_NEAR(mixed.g, 60, 2);
    EXPECT_NEAR(mixed.b, 105, 2);

    // Opaque again: copied again, exactly.
    sprite->SetAlpha(255);
    Fill(SDL_FBSurface, 0, 0, 200);
    sprite->PutSprite(0, 0, nullptr);
    ExpectPixel(SDL_FBSurface, 1, 1, 250, 120, 10);
}

TEST(OpaqueSprite, ReloadingATranslucentPictureBlendsIt) {
    GraphicsWorld world(Screen32());
    Sprite* sprite = LoadedSprite(world, FramedPicture(6, 6, 0, Orange, Orange));
    const std::uint8_t halfOrange[4] = {250, 120, 10, 128};
    ASSERT_TRUE(world.WritePicture("half.png", FramedPicture(6, 6, 0, halfOrange, halfOrange)));
    world.WriteData("half.spr", "half.png 0 0\n");
    sprite->Load("half.spr", 0, 1.0f, 1.0f);
    Fill(SDL_FBSurface, 0, 0, 200);
    sprite->PutSprite(0, 0, nullptr);
    EXPECT_NEAR(PixelAt(SDL_FBSurface, 1, 1).b, 105, 2);
}

TEST(OpaqueSprite, CopyDrawsTheSharedPixels) {
    GraphicsWorld world(Screen32());
    Sprite* source = LoadedSprite(world, Gradient(5, 5));
    Sprite copy(*source);
    Fill(SDL_FBSurface, 0, 0, 0);
    copy.PutSprite(10, 10, nullptr);
    const Rgba drawn = PixelAt(SDL_FBSurface, 14, 13);
    EXPECT_EQ(drawn.r, 20 * 4 + 3);
    EXPECT_EQ(drawn.g, 30 * 3 + 7);
    EXPECT_EQ(drawn.b, 12);
}

TEST(OpaqueSprite, DrawsOntoSurfacesOfOtherFormatsAsBefore) {
    GraphicsWorld world(Screen32());
    Sprite* sprite = LoadedSprite(world, FramedPicture(4, 4, 0, Orange, Orange));
    SDL_Surface* withAlpha = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 32, 0x00FF0000, 0x0000FF00, 0x000000FF,
                                                  0xFF000000);
    SDL_Surface* swapped = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0);
    ASSERT_NE(withAlpha, nullptr);
    ASSERT_NE(swapped, nullptr);
    SDL_FillRect(withAlpha, nullptr, 0);
    Fill(swapped, 0, 0, 0);
    sprite->PutSprite(1, 1, withAlpha);
    sprite->PutSprite(1, 1, swapped);
    const Rgba a = PixelAt(withAlpha, 2, 2);
    EXPECT_EQ(a.r, 250);
    EXPECT_EQ(a.g, 120);
    EXPECT_EQ(a.b, 10);
    // Blending onto a surface with alpha leaves its alpha alone; a copy would not.
    EXPECT_EQ(a.a, 0);
    ExpectPixel(swapped, 2, 2, 250, 120, 10);
    SDL_FreeSurface(withAlpha);
    SDL_FreeSurface(swapped);
}
