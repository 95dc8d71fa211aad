#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <glimmer/glimmer.h>
#include "tests/graphics/GraphicsWorld.h"

namespace {

const std::uint8_t Clear[4] = {0, 0, 0, 0};
const std::uint8_t Red[4] = {255, 0, 0, 255};
const std::uint8_t HalfGreen[4] = {0, 255, 0, 100};

struct FreeSurface {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfaceHolder = std::unique_ptr<SDL_Surface, FreeSurface>;

unsigned int NewSprite(DTable& table = GDT, short x = 0, short y = 0) {
    short params[2] = {x, y};
    return static_cast<unsigned int>(table.CreateDescriptor(TypeSprite, params, 1));
}

Sprite* SpriteOf(unsigned int desc) { return ObjectOf<Sprite>(desc); }

// A sprite file "name.spr" naming the PNG "name.png" with the given hot spot.
void WriteSprite(const GraphicsWorld& world, const std::string& name, const RgbaImage& image, int cx, int cy) {
    ASSERT_TRUE(world.WritePicture(name + ".png", image));
    world.WriteData(name + ".spr", name + ".png " + std::to_string(cx) + " " + std::to_string(cy) + "\n");
}

Sprite* LoadSprite(const char* spr, float kx, float ky, short x = 0, short y = 0) {
    Sprite* sprite = SpriteOf(NewSprite(GDT, x, y));
    sprite->Load(spr, 0, kx, ky);
    return sprite;
}

RgbaImage Solid(int w, int h, const std::uint8_t c[4]) { return FramedPicture(w, h, 0, c, c); }

// Each column has its own red value: 10 × column.
RgbaImage ColumnRamp(int w, int h) {
    RgbaImage image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = image.At(x, y);
            p[0] = static_cast<std::uint8_t>(10 * x);
            p[1] = 200;
            p[2] = 0;
            p[3] = 255;
        }
    return image;
}

}  // namespace

struct LoadCase {
    int Width, Height;
    short XSize, YSize, XCenter, YCenter;
    int HotX, HotY;  // where parameters (400, 300) put the hot spot
};

class SpriteOnScreen : public ::testing::TestWithParam<LoadCase> {};

TEST_P(SpriteOnScreen, LoadWithZeroFactorsScalesPictureAndHotSpotToTheScreen) {
    const LoadCase c = GetParam();
    WorldOptions options;
    options.Width = c.Width;
    options.Height = c.Height;
    GraphicsWorld world(options);
    WriteSprite(world, "pic", Solid(100, 50, Red), 10, 20);
    DebugLogReset();
    Sprite* sprite = LoadSprite("pic.spr", 0.0f, 0.0f);
    EXPECT_EQ(sprite->GetXSize(), c.XSize);
    EXPECT_EQ(sprite->GetYSize(), c.YSize);
    EXPECT_EQ(sprite->GetXCenter(), c.XCenter);
    EXPECT_EQ(sprite->GetYCenter(), c.YCenter);
    // The zoomed picture may be a pixel larger than the truncated size.
    EXPECT_GE(sprite->GetSurface()->w - c.XSize, 0);
    EXPECT_LE(sprite->GetSurface()->w - c.XSize, 1);
    EXPECT_GE(sprite->GetSurface()->h - c.YSize, 0);
    EXPECT_LE(sprite->GetSurface()->h - c.YSize, 1);
    const bool scaled = c.Width != 800;
    EXPECT_EQ(TraceHas("New xs="), scaled) << DebugLogText();
}

TEST_P(SpriteOnScreen, ParametersPlaceTheHotSpotFromTheWindowOrigin) {
    const LoadCase c = GetParam();
    WorldOptions options;
    options.Width = c.Width;
    options.Height = c.Height;
    options.Bpp = 32;
    GraphicsWorld world(options);
    RgbaImage image = Solid(4, 4, Red);
    image.At(0, 0)[1] = 255;  // the top-left pixel is yellow
    WriteSprite(world, "dot", image, 2, 2);

    short windowParams[2] = {10, 0};
    const unsigned int window = static_cast<unsigned int>(GDT.CreateDescriptor(TypeWindow, windowParams, 4));
    DTable* table = ObjectOf<Window>(window)->GetTable();
    Sprite* sprite = SpriteOf(NewSprite(*table, 400, 300));
    sprite->Load("dot.spr", 0, 1.0f, 1.0f);

    Fill(SDL_FBSurface, 0, 0, 255);
    sprite->Run(nullptr);
    Rgba corner = PixelAt(SDL_FBSurface, c.HotX - 2, c.HotY - 2);
    EXPECT_EQ(corner.r, 255);
    EXPECT_EQ(corner.g, 255);
    EXPECT_EQ(PixelAt(SDL_FBSurface, c.HotX, c.HotY).r, 255);
    EXPECT_EQ(PixelAt(SDL_FBSurface, c.HotX - 3, c.HotY - 3).b, 255);

    Fill(SDL_FBSurface, 0, 0, 255);
    SDL_Rect screen = {0, 0, static_cast<Uint16>(c.Width), static_cast<Uint16>(c.Height)};
    sprite->Run(&screen, nullptr);
    corner = PixelAt(SDL_FBSurface, c.HotX - 2, c.HotY - 2);
    EXPECT_EQ(corner.g, 255);
    EXPECT_EQ(PixelAt(SDL_FBSurface, c.HotX - 3, c.HotY - 3).b, 255);
    EXPECT_EQ(PixelAt(SDL_FBSurface, c.HotX + 2, c.HotY + 2).b, 255);
}

INSTANTIATE_TEST_SUITE_P(Screens, SpriteOnScreen,
                         ::testing::Values(LoadCase{800, 600, 100, 50, 10, 20, 400, 300},
                                           LoadCase{1024, 768, 127, 63, 12, 25, 511, 383},
                                           LoadCase{1280, 1024, 160, 85, 16, 34, 640, 512},
                                           LoadCase{1600, 1200, 200, 100, 20, 40, 800, 600}),
                         [](const ::testing::TestParamInfo<LoadCase>& info) {
                             return std::to_string(info.param.Width) + "x" + std::to_string(info.param.Height);
                         });

TEST(SpriteFile, ThreeLinesReadLikeOneAndNamesAreBelowTheRoot) {
    GraphicsWorld world;
    ASSERT_TRUE(world.WritePicture("pics/deep/flake.png", Solid(6, 4, Red)));
    world.WriteData("one.spr", "pics/deep/flake.png 3 -2");
    world.WriteData("sprites/three.spr", "pics/deep/flake.png\n3\n\t-2\n");
    Sprite* one = LoadSprite("one.spr", 1.0f, 1.0f);
    Sprite* three = LoadSprite("sprites/three.spr", 1.0f, 1.0f);
    for (Sprite* s : {one, three}) {
        EXPECT_EQ(s->GetXSize(), 6);
        EXPECT_EQ(s->GetYSize(), 4);
        EXPECT_EQ(s->GetXCenter(), 3);
        EXPECT_EQ(s->GetYCenter(), -2);
    }
}

TEST(SpriteFile, MissingOrNonNumericHotSpotReadsAsZero) {
    GraphicsWorld world;
    ASSERT_TRUE(world.WritePicture("a.png", Solid(2, 2, Red)));
    world.WriteData("bare.spr", "a.png");
    world.WriteData("words.spr", "a.png left top");
    world.WriteData("half.spr", "a.png 7");
    world.WriteData("huge.spr", "a.png 65537 -65536 trailing words");
    Sprite* bare = LoadSprite("bare.spr", 1, 1);
    Sprite* words = LoadSprite("words.spr", 1, 1);
    Sprite* half = LoadSprite("half.spr", 1, 1);
    Sprite* huge = LoadSprite("huge.spr", 1, 1);
    EXPECT_EQ(bare->GetXCenter(), 0);
    EXPECT_EQ(bare->GetYCenter(), 0);
    EXPECT_EQ(words->GetXCenter(), 0);
    EXPECT_EQ(words->GetYCenter(), 0);
    EXPECT_EQ(half->GetXCenter(), 7);
    EXPECT_EQ(half->GetYCenter(), 0);
    EXPECT_EQ(huge->GetXCenter(), 1);  // low 16 bits
    EXPECT_EQ(huge->GetYCenter(), 0);
}

TEST(SpriteFile, NegativeHotSpotPlacesThePictureRightOfAndBelowItsPlace) {
    WorldOptions options;
    options.Bpp = 32;
    GraphicsWorld world(options);
    WriteSprite(world, "neg", Solid(3, 3, Red), -10, -5);
    Sprite* sprite = LoadSprite("neg.spr", 1, 1, 100, 100);
    Fill(SDL_FBSurface, 0, 0, 0);
    sprite->Run(nullptr);
    EXPECT_EQ(PixelAt(SDL_FBSurface, 110, 105).r, 255);
    EXPECT_EQ(PixelAt(SDL_FBSurface, 109, 105).r, 0);
    EXPECT_EQ(PixelAt(SDL_FBSurface, 110, 104).r, 0);
    EXPECT_EQ(PixelAt(SDL_FBSurface, 100, 100).r, 0);
}

TEST(SpriteFile, BmpAndJpegPicturesAreRecognisedByTheirContent) {
    GraphicsWorld world;
    SurfaceHolder bmp(SDL_CreateRGBSurface(SDL_SWSURFACE, 5, 3, 24, 0xFF0000, 0xFF00, 0xFF, 0));
    Fill(bmp.get(), 0, 0, 255);
    ASSERT_EQ(SDL_SaveBMP(bmp.get(), world.Data("blue.bmp").c_str()), 0);
    // Misleading extensions: the content decides.
    std::rename(world.Data("blue.bmp").c_str(), world.Data("blue.png").c_str());
    world.WriteData("blue.spr", "blue.png 0 0");
    Sprite* blue = LoadSprite("blue.spr", 1, 1);
    EXPECT_EQ(blue->GetXSize(), 5);
    EXPECT_EQ(blue->GetYSize(), 3);
    Rgba p = PixelAt(blue->GetSurface(), 4, 2);
    EXPECT_EQ(p.b, 255);
    EXPECT_EQ(p.r, 0);
    EXPECT_EQ(p.a, 255);

    if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "no convert to write a JPEG";
    ASSERT_TRUE(world.WritePicture("src.png", Solid(16, 8, Red)));
    const std::string command = "convert '" + world.Data("src.png") + "' -quality 95 'jpeg:" + world.Data("red.pic") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    world.WriteData("red.spr", "red.pic 1 1");
    Sprite* red = LoadSprite("red.spr", 1, 1);
    EXPECT_EQ(red->GetXSize(), 16);
    EXPECT_EQ(red->GetYSize(), 8);
    p = PixelAt(red->GetSurface(), 8, 4);
    EXPECT_GT(p.r, 230);
    EXPECT_LT(p.g, 30);
    EXPECT_EQ(p.a, 255);
}

TEST(SpriteFile, MissingFilesEndWithCodeFour) {
    GraphicsWorld world;
    world.WriteData("nopic.spr", "absent.png 0 0");
    world.WriteData("empty.spr", "");
    world.WriteData("long.spr", std::string(300, 'x') + " 1 2");
    // The message names what is missing.
    EXPECT_EXIT(LoadSprite("absent.spr", 1, 1), ::testing::ExitedWithCode(4),
                "Can`t find sprite:sprite file \"absent.spr\" does not open\n");
    EXPECT_EXIT(LoadSprite("nopic.spr", 1, 1), ::testing::ExitedWithCode(4),
                "Can`t find sprite:picture file \"absent.png\" does not open\n");
    EXPECT_EXIT(LoadSprite("empty.spr", 1, 1), ::testing::ExitedWithCode(4),
                "Can`t find sprite:sprite file names no picture\n");
    EXPECT_EXIT(LoadSprite("long.spr", 1, 1), ::testing::ExitedWithCode(4),
                "Can`t find sprite:picture file \"x+\" does not open\n");
}

TEST(SpriteFile, EmptyCorruptOrFolderPicturesEndWithCodeEight) {
    GraphicsWorld world;
    world.WriteData("empty.png", "");
    world.WriteData("empty.spr", "empty.png 0 0");
    const char junk[] = "\x89PNG\r\n\x1a\n garbage that is no picture";
    world.WriteData("junk.png", std::string(junk, sizeof junk - 1));
    world.WriteData("junk.spr", "junk.png 0 0");
    world.WriteData("folder/inside.txt", "x");
    world.WriteData("folder.spr", "folder 0 0");
    EXPECT_EXIT(LoadSprite("empty.spr", 1, 1), ::testing::ExitedWithCode(8), "Error while loading sprite:");
    EXPECT_EXIT(LoadSprite("junk.spr", 1, 1), ::testing::ExitedWithCode(8), "Error while loading sprite:");
    EXPECT_EXIT(LoadSprite("folder.spr", 1, 1), ::testing::ExitedWithCode(8), "Error while loading sprite:");
}

TEST(Sprite, LoadWritesItsTraceLines) {
    GraphicsWorld world;
    WriteSprite(world, "pic", Solid(100, 50, Red), 10, 20);
    DebugLogReset();
    const unsigned int desc = NewSprite();
    EXPECT_TRUE(TraceHas("Sprite constructing.....\n")) << DebugLogText();
    EXPECT_TRUE(TraceHas("Sprite initialized with UDesc=0\nInitialized Sprite desc=" + std::to_string(desc) + "\n"))
        << DebugLogText();
    DebugLogReset();
    SpriteOf(desc)->Load("pic.spr", 4, 0.0f, 0.0f);
    EXPECT_EQ(SpriteOf(desc)->GetZLevel(), 4);
    const std::string trace = DebugLogText();
    EXPECT_EQ(trace.rfind("SX=0 SY=0\nSX=1 SY=1\nLoading sprite:pic.spr...\n", 0), 0u) << trace;
    EXPECT_NE(trace.find("\npic.png\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find("\nCX:10CY:20\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find("\nTMP flags is:"), std::string::npos) << trace;
    EXPECT_NE(trace.find(" X_s:100y_s:50bpp:32\nSurface flags is:"), std::string::npos) << trace;
    EXPECT_NE(trace.find("\nSurface alfa:10000\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find("\nSurface alpha is:"), std::string::npos) << trace;
    EXPECT_NE(trace.find("\nSurface colorkey is:"), std::string::npos) << trace;
    EXPECT_NE(trace.find("\nSprite#" + std::to_string(desc) + "with UDesc=0 loaded from pic.spr\nSX=1 SY=1\n"),
              std::string::npos)
        << trace;
    DebugLogReset();
    SpriteOf(desc)->Reload();
    EXPECT_STREQ(DebugLogText(), "Sprite reload\n");
}

TEST(Sprite, SetAlphaKeepsTransparentPixelsAndSetsAllOthers) {
    WorldOptions options;
    options.Width = 1024;
    options.Height = 768;
    GraphicsWorld world(options);
    // Opaque red inside a half-green ring inside a transparent border.
    RgbaImage image = FramedPicture(20, 20, 2, Red, Clear);
    for (int i = 2; i < 18; ++i)
        for (const int j : {2, 17}) {
            std::memcpy(image.At(i, j), HalfGreen, 4);
            std::memcpy(image.At(j, i), HalfGreen, 4);
        }
    WriteSprite(world, "ring", image, 0, 0);
    Sprite* sprite = LoadSprite("ring.spr", 0.0f, 0.0f);
    SDL_Surface* s = sprite->GetSurface();
    ASSERT_EQ(s->w, 26);  // 20 × 1.28, rounded by the zoom
    ASSERT_EQ(sprite->GetXSize(), 25);
    DebugLogReset();
    sprite->SetAlpha(128);
    EXPECT_TRUE(TraceHas("Source amask=ff000000\n")) << DebugLogText();
    EXPECT_EQ(PixelAt(s, 0, 0).a, 0);
    EXPECT_EQ(PixelAt(s, s->w - 1, s->h - 1).a, 0);
    EXPECT_EQ(PixelAt(s, 13, 13).a, 128);
    EXPECT_EQ(PixelAt(s, 13, 13).r, 255);
    EXPECT_EQ(PixelAt(s, 3, 13).a, 128);  // was partly transparent
    EXPECT_GT(PixelAt(s, 3, 13).g, 200);
    int transparent = 0, half = 0, other = 0;
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            const int a = PixelAt(s, x, y).a;
            (a == 0 ? transparent : a == 128 ? half : other)++;
        }
    EXPECT_EQ(other, 0);
    EXPECT_GT(transparent, 0);
    EXPECT_GT(half, 0);
}

TEST(Sprite, SetAlphaWorksOnSurfacesWithNarrowChannels) {
    GraphicsWorld world;
    Sprite sprite;
    sprite.Surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 2, 16, 0x0F00, 0x00F0, 0x000F, 0xF000);
    ASSERT_NE(sprite.Surface, nullptr);
    Uint16* pixels = static_cast<Uint16*>(sprite.Surface->pixels);
    pixels[0] = 0x0F00;  // red, fully transparent
    pixels[1] = 0xF0F0;  // green, opaque
    pixels[2] = 0x300F;  // blue, nearly transparent
    sprite.SetAlpha(0x88);
    EXPECT_EQ(pixels[0], 0x0F00);
    EXPECT_EQ(pixels[1], 0x80F0);
    EXPECT_EQ(pixels[2], 0x800F);
}

class Translucency : public ::testing::TestWithParam<int> {};

TEST_P(Translucency, HalfTransparentSpritesBlendOverTheScreen) {
    WorldOptions options;
    options.Bpp = GetParam();
    GraphicsWorld world(options);
    ASSERT_EQ(SDL_FBSurface->format->BitsPerPixel, GetParam());
    WriteSprite(world, "red", Solid(8, 8, Red), 0, 0);
    const std::uint8_t halfWhite[4] = {255, 255, 255, 128};
    WriteSprite(world, "white", Solid(8, 8, halfWhite), 0, 0);
    Sprite* red = LoadSprite("red.spr", 1, 1, 10, 10);
    red->SetAlpha(128);
    Sprite* white = LoadSprite("white.spr", 1, 1, 30, 10);

    Fill(SDL_FBSurface, 0, 0, 255);
    red->Run(nullptr);
    white->PutSprite(30, 10, nullptr);
    const Rgba mixed = PixelAt(SDL_FBSurface, 12, 12);
    EXPECT_NEAR(mixed.r, 128, 9);
    EXPECT_EQ(mixed.g, 0);
    EXPECT_NEAR(mixed.b, 127, 9);
    const Rgba light = PixelAt(SDL_FBSurface, 33, 13);
    EXPECT_NEAR(light.r, 128, 9);
    EXPECT_NEAR(light.g, 128, 9);
    EXPECT_GT(light.b, 245);
    EXPECT_EQ(PixelAt(SDL_FBSurface, 9, 9).r, 0);
}

INSTANTIATE_TEST_SUITE_P(ScreenDepths, Translucency, ::testing::Values(16, 32),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::to_string(info.param) + "bit";
                         });

TEST(Sprite, ClipDrawsOnlyWhatLiesInsideTheRectangleAtItsTruePlace) {
    GraphicsWorld world;
    WriteSprite(world, "ramp", ColumnRamp(20, 10), 0, 0);
    SurfaceHolder canvas(Canvas(200, 200));
    SDL_Rect clip = {50, 50, 100, 100};

    Sprite* left = LoadSprite("ramp.spr", 1, 1, 40, 60);  // 10 pixels left of the rectangle
    Fill(canvas.get(), 0, 0, 0);
    left->Run(&clip, canvas.get());
    EXPECT_EQ(PixelAt(canvas.get(), 49, 62).g, 0);
    EXPECT_EQ(PixelAt(canvas.get(), 50, 62).r, 100);  // the picture's 11th column
    EXPECT_EQ(PixelAt(canvas.get(), 59, 62).r, 190);
    EXPECT_EQ(PixelAt(canvas.get(), 60, 62).g, 0);

    Sprite* corner = LoadSprite("ramp.spr", 1, 1, 140, 145);  // over the right and bottom edges
    Fill(canvas.get(), 0, 0, 0);
    corner->Run(&clip, canvas.get());
    EXPECT_EQ(PixelAt(canvas.get(), 140, 149).r, 0);
    EXPECT_EQ(PixelAt(canvas.get(), 140, 149).g, 200);
    EXPECT_EQ(PixelAt(canvas.get(), 149, 149).r, 90);
    EXPECT_EQ(PixelAt(canvas.get(), 150, 149).g, 0);
    EXPECT_EQ(PixelAt(canvas.get(), 145, 150).g, 0);

    Sprite* outside = LoadSprite("ramp.spr", 1, 1, 0, 0);
    Fill(canvas.get(), 0, 0, 0);
    outside->Run(&clip, canvas.get());
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_EQ(PixelAt(canvas.get(), x, y).g, 0);

    Sprite* inside = LoadSprite("ramp.spr", 1, 1, 60, 60);
    Fill(canvas.get(), 0, 0, 0);
    inside->Run(&clip, canvas.get());
    EXPECT_EQ(PixelAt(canvas.get(), 60, 60).g, 200);
    EXPECT_EQ(PixelAt(canvas.get(), 79, 69).r, 190);
}

TEST(Sprite, WindowOriginIsItsPositionPlusItsHotSpot) {
    WorldOptions options;
    options.Bpp = 32;
    GraphicsWorld world(options);
    WriteSprite(world, "dot", Solid(2, 2, Red), 0, 0);
    short windowParams[2] = {10, 0};
    const unsigned int w = static_cast<unsigned int>(GDT.CreateDescriptor(TypeWindow, windowParams, 4));
    Window* window = ObjectOf<Window>(w);
    window->SetCoord(100, 80, 1, 1);
    window->SetCenter(5, 6, 1, 1);
    Sprite* sprite = SpriteOf(NewSprite(*window->GetTable(), 10, 20));
    sprite->Load("dot.spr", 0, 1, 1);
    Fill(SDL_FBSurface, 0, 0, 0);
    sprite->Run(nullptr);
    EXPECT_EQ(PixelAt(SDL_FBSurface, 115, 106).r, 255);
    EXPECT_EQ(PixelAt(SDL_FBSurface, 114, 106).r, 0);
    EXPECT_EQ(PixelAt(SDL_FBSurface, 115, 105).r, 0);
}

TEST(Sprite, ScalingTwiceMultipliesTheFactors) {
    GraphicsWorld world;
    WriteSprite(world, "pic", Solid(30, 16, Red), 6, 4);
    Sprite* sprite = LoadSprite("pic.spr", 1, 1);
    sprite->Scale(2.0f, 2.0f);
    EXPECT_EQ(sprite->GetXSize(), 60);
    EXPECT_EQ(sprite->GetSurface()->w, 60);
    EXPECT_EQ(sprite->GetXCenter(), 12);
    sprite->Scale(0.5f, 0.5f);
    EXPECT_EQ(sprite->GetXSize(), 30);
    EXPECT_EQ(sprite->GetYSize(), 16);
    EXPECT_EQ(sprite->GetSurface()->w, 30);
    EXPECT_EQ(sprite->GetSurface()->h, 16);
    EXPECT_EQ(sprite->GetXCenter(), 6);
    EXPECT_EQ(sprite->GetYCenter(), 4);
    EXPECT_EQ(sprite->GetSurface()->format->BitsPerPixel, 32);
    EXPECT_EQ(sprite->GetSurface()->format->Amask, 0xFF000000u);
}

TEST(Sprite, SmoothScalingBlendsNeighbouringPixels) {
    WorldOptions options;
    options.Extra = "Scale smooth";
    GraphicsWorld world(options);
    RgbaImage image = Solid(2, 1, Red);
    image.At(1, 0)[0] = 0;
    image.At(1, 0)[2] = 255;
    WriteSprite(world, "pair", image, 0, 0);
    Sprite* sprite = LoadSprite("pair.spr", 4, 1);
    bool mixed = false;
    for (int x = 0; x < sprite->GetSurface()->w; ++x) {
        const Rgba p = PixelAt(sprite->GetSurface(), x, 0);
        mixed = mixed || (p.r > 20 && p.r < 235);
    }
    EXPECT_TRUE(mixed);
}

TEST(Sprite, CreateConvertsTheCallersSurfaceAndScalesIt) {
    GraphicsWorld world;
    SurfaceHolder src(SDL_CreateRGBSurface(SDL_SWSURFACE, 10, 6, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000));
    SDL_FillRect(src.get(), nullptr, 0x80FF0000u);  // half-transparent blue in this layout
    Sprite* sprite = SpriteOf(NewSprite());
    DebugLogReset();
    sprite->Create(src.get(), 2, 3, 5, 2.0f, 0.5f);
    EXPECT_TRUE(TraceHas("Creating sprite from surface\nSRC surface alfa:10000\n")) << DebugLogText();
    EXPECT_FALSE(TraceHas("bpp:"));
    EXPECT_EQ(sprite->GetXSize(), 20);
    EXPECT_EQ(sprite->GetYSize(), 3);
    EXPECT_EQ(sprite->GetXCenter(), 4);
    EXPECT_EQ(sprite->GetYCenter(), 1);
    EXPECT_EQ(sprite->GetZLevel(), 5);
    SDL_Surface* s = sprite->GetSurface();
    EXPECT_EQ(s->format->Amask, 0xFF000000u);
    EXPECT_EQ(s->format->Rmask, 0x00FF0000u);
    const Rgba p = PixelAt(s, 5, 1);
    EXPECT_EQ(p.b, 255);
    EXPECT_EQ(p.r, 0);
    EXPECT_EQ(p.a, 128);
    EXPECT_EQ(src->w, 10);  // the caller's surface is untouched
}

TEST(Sprite, CopySharesThePixelsAndOutlivesItsSource) {
    GraphicsWorld world;  // a 16-bit screen: the template is still 32-bit
    WriteSprite(world, "pic", Solid(7, 5, Red), 1, 1);
    const unsigned int srcDesc = NewSprite(GDT, 3, 3);
    Sprite* src = SpriteOf(srcDesc);
    src->Load("pic.spr", 0, 1, 1);
    src->TextBuffer = new char[6];
    std::strcpy(src->TextBuffer, "flake");
    DebugLogReset();
    Sprite copy(*src);
    EXPECT_TRUE(TraceHas("Sprite copying\n")) << DebugLogText();
    SDL_Surface* a = src->GetSurface();
    SDL_Surface* b = copy.GetSurface();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->pixels, b->pixels);
    EXPECT_EQ(copy.Desc, 0u);
    ASSERT_NE(copy.TextBuffer, nullptr);
    EXPECT_NE(copy.TextBuffer, src->TextBuffer);
    EXPECT_STREQ(copy.TextBuffer, "flake");
    EXPECT_EQ(PixelAt(b, 3, 3).r, 255);

    Sprite other;
    other = copy;
    EXPECT_EQ(other.GetSurface()->pixels, a->pixels);
    other = other;
    EXPECT_EQ(other.GetSurface()->pixels, a->pixels);
    EXPECT_STREQ(other.TextBuffer, "flake");

    // Translucency given to one copy stays with it.
    other.SetAlpha(40);
    EXPECT_EQ(PixelAt(other.GetSurface(), 3, 3).a, 40);
    EXPECT_EQ(PixelAt(src->GetSurface(), 3, 3).a, 255);
    EXPECT_EQ(PixelAt(copy.GetSurface(), 3, 3).a, 255);

    // The source goes; its copy still draws the picture (the sanitizer build
    // catches any read of freed pixels).
    GDT.FreeDescriptor(srcDesc);
    Fill(SDL_FBSurface, 0, 0, 255);
    copy.PutSprite(10, 10, nullptr);
    EXPECT_EQ(PixelAt(SDL_FBSurface, 12, 12).r, 255);
    EXPECT_EQ(PixelAt(SDL_FBSurface, 12, 12).b, 0);
}

TEST(Sprite, SpritesOfOnePictureHaveTheirOwnSurfaces) {
    GraphicsWorld world;
    WriteSprite(world, "flake", Solid(4, 4, Red), 0, 0);
    Sprite* first = LoadSprite("flake.spr", 1, 1);
    Sprite* second = LoadSprite("flake.spr", 1, 1);
    Sprite* third = LoadSprite("flake.spr", 2, 2);
    EXPECT_NE(first->GetSurface()->pixels, second->GetSurface()->pixels);
    first->SetAlpha(10);
    EXPECT_EQ(PixelAt(first->GetSurface(), 1, 1).a, 10);
    EXPECT_EQ(PixelAt(second->GetSurface(), 1, 1).a, 255);
    EXPECT_EQ(third->GetXSize(), 8);

    // A picture rewritten under the same name is read afresh.
    const std::uint8_t blue[4] = {0, 0, 255, 255};
    ASSERT_TRUE(world.WritePicture("flake.png", Solid(3, 3, blue)));
    Sprite* fresh = LoadSprite("flake.spr", 1, 1);
    EXPECT_EQ(fresh->GetXSize(), 3);
    EXPECT_EQ(PixelAt(fresh->GetSurface(), 1, 1).b, 255);
}

TEST(Sprite, DrawingWithoutAPictureEndsWithCodeOne) {
    GraphicsWorld world;
    Sprite* sprite = SpriteOf(NewSprite());
    SDL_Rect clip = {0, 0, 800, 600};
    EXPECT_EXIT(sprite->Run(nullptr), ::testing::ExitedWithCode(1), "SDL error:");
    EXPECT_EXIT(sprite->Run(&clip, nullptr), ::testing::ExitedWithCode(1), "SDL error:");
    EXPECT_EXIT(sprite->SetAlpha(3), ::testing::ExitedWithCode(1), "SDL error:");
}

TEST(SpriteFile, ReadingWithoutLoadingReportsTheCodeInsteadOfEnding) {
    GraphicsWorld world;
    WriteSprite(world, "pic", Solid(5, 4, Red), -3, 9);
    world.WriteData("empty.png", "");
    world.WriteData("empty.spr", "empty.png");
    short xc = 0, yc = 0;
    int code = -1;
    SurfaceHolder picture(ReadSpritePicture("pic.spr", &xc, &yc, &code));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(picture->w, 5);
    EXPECT_EQ(xc, -3);
    EXPECT_EQ(yc, 9);
    EXPECT_EQ(ReadSpritePicture("absent.spr", &xc, &yc, &code), nullptr);
    EXPECT_EQ(code, 4);
    EXPECT_EQ(ReadSpritePicture("empty.spr", &xc, &yc, &code), nullptr);
    EXPECT_EQ(code, 8);
}
