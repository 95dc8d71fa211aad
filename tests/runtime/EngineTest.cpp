#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <glimmer/glimmer.h>
#include "glimmer/base/Platform.h"
#include "tests/support/EngineWorld.h"
#include "tests/support/TestWorld.h"

namespace {

std::vector<unsigned int> FrameNumbers;

void RecordFrame(unsigned int frame) { FrameNumbers.push_back(frame); }

int Occurrences(const std::string& text) {
    int n = 0;
    const std::string trace = DebugLogText();
    for (std::size_t at = trace.find(text); at != std::string::npos; at = trace.find(text, at + 1)) ++n;
    return n;
}

// Ends the loop from inside its fourth frame, telling which frames it saw.
void StopAtFrameThree(unsigned int frame) {
    FrameNumbers.push_back(frame);
    if (frame < 3) return;
    std::string seen;
    for (unsigned int f : FrameNumbers) seen += std::to_string(f) + ",";
    std::fprintf(stderr, "frames seen: %s\n", seen.c_str());
    Error(0);
}

// The start of SDL 2's window surface, which frames are drawn straight into.
struct WindowSurface {
    Uint32 flags;
    void* format;
    int w, h, pitch;
    void* pixels;
};

Uint32 WindowRgb(const WindowSurface* s, int x, int y) {
    Uint32 pixel;
    std::memcpy(&pixel, static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * 4, 4);
    return pixel & 0xFFFFFFu;
}

int WhitePixelsIn(int x0, int x1, int y0, int y1) {
    int n = 0;
    for (int x = x0; x < x1; ++x)
        for (int y = y0; y < y1; ++y)
            if (ScreenPixel(x, y) == 0xFFFFFFu) ++n;
    return n;
}

}  // namespace

TEST(Engine, StartsWithTimerCaptionAndDefaultFilter) {
    EngineWorld world;
    EXPECT_EQ(CFG.TimerID, 0u);
    EXPECT_EQ(Frames, 0u);
    EXPECT_EQ(FrameFunctionActive, 0);
    EXPECT_EQ(FrameInterval, 30u);
    EXPECT_EQ(SDL_GetEventFilter(), &EngineEventFilter);
    char* title = nullptr;
    SDL_WM_GetCaption(&title, nullptr);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, "engine-test");
    EXPECT_LE(StartTicks, SDL_GetTicks());
}

TEST(Engine, StartUpLeavesItsTimerLine) {
    TempDir dir;
    WriteTextFile(dir / "test.cfg", "FileSystemFile data FontConfigFile fonts.cfg Caption x Bpp 32\n");
    WriteTextFile(dir / "data/fonts.cfg", EngineWorld::DefaultFonts());
    ScopedChdir cd(dir.Path());
    GlimmerInitEngine("test.cfg");
    const std::string trace = DebugLogText();
    // A short configuration leaves the trace room for start-up's last line.
    ASSERT_LT(trace.size(), DebugLogCapacity - 40);
    EXPECT_NE(trace.find("GlimmerKernel=0\n"), std::string::npos);
    SDL_SetTimer(0, nullptr);
}

TEST(Engine, MissingConfigFileEndsWithCode10) {
    TempDir dir;
    ScopedChdir cd(dir.Path());
    EXPECT_EXIT(GlimmerInitEngine("absent.cfg"), ::testing::ExitedWithCode(10), "Can`t find config file");
}

TEST(Engine, FrameFunctionReceivesFrameNumbersFromZero) {
    EngineWorld world;
    RegisterFrameFunction(RecordFrame);
    EXPECT_EQ(FrameFunctionActive, 1);
    RunGlimmerFrame();
    RunGlimmerFrame();
    RunGlimmerFrame();
    EXPECT_EQ(FrameNumbers, (std::vector<unsigned int>{0, 1, 2}));
    EXPECT_EQ(Frames, 3u);

    UnregisterFrameFunction();
    EXPECT_EQ(FrameFunction, &RecordFrame);
    RunGlimmerFrame();
    EXPECT_EQ(FrameNumbers.size(), 3u);
    EXPECT_EQ(Frames, 4u);
}

TEST(Engine, LoopDrawsOneFramePerTimerEvent) {
    EngineWorld world;
    RegisterFrameFunction(StopAtFrameThree);
    SDL_SetTimer(FrameInterval, FrameTick);
    EXPECT_EXIT(RunGlimmerEngine(), ::testing::ExitedWithCode(0), "frames seen: 0,1,2,3,");
}

TEST(Engine, FrameTickPostsAFrameEventAndKeepsItsInterval) {
    EngineWorld world;
    SDL_Event drained;
    while (SDL_PollEvent(&drained)) {
    }
    EXPECT_EQ(FrameTick(30), 30u);
    SDL_Event frame;
    ASSERT_EQ(SDL_PeepEvents(&frame, 1, SDL_GETEVENT, SDL_VIDEOEXPOSEMASK), 1);
    EXPECT_EQ(frame.type, SDL_VIDEOEXPOSE);
}

TEST(Engine, WritesTwoLoopLinesPerFrameWithoutRateDisplay) {
    EngineWorld world("ShowFps 0\n");
    RunGlimmerFrame();
    DebugLogReset();
    RunGlimmerFrame();
    EXPECT_STREQ(DebugLogText(), "*****Frame 1 start*****\nDrawed 0 sprites\n");
}

TEST(Engine, RateDisplayAddsItsEndLineAndTwoWhiteReadouts) {
    EngineWorld world("ShowFps 1\n");
    Window* window = MakeWindow(GDT, 0, 0, 800, 600);
    GetGObject(SolidSprite(*window->GetTable(), 0, 0, 800, 600, 0x000000))->Show();
    window->Show();
    DebugLogReset();

    RunGlimmerFrame();

    EXPECT_EQ(Occurrences("*****Frame 0 start*****\n"), 1);
    EXPECT_EQ(Occurrences("*****Frame 0 end*****\n"), 1);
    EXPECT_TRUE(TraceHas("Drawed 1 sprites\n"));
    // The ten-frame rate at (0, 0), the frame's own rate at (100, 0).
    EXPECT_GT(WhitePixelsIn(0, 95, 0, 20), 10);
    EXPECT_GT(WhitePixelsIn(100, 200, 0, 20), 10);
    EXPECT_EQ(WhitePixelsIn(0, 800, 40, 600), 0);
}

TEST(Engine, TenFrameReadoutWaitsForItsFirstMeasurement) {
    EngineWorld world("ShowFps 1\n");
    GetGObject(SolidSprite(GDT, 0, 0, 800, 600, 0x000000))->Show();
    // An application may start counting elsewhere than at a multiple of ten.
    Frames = 7;
    RunGlimmerFrame();
    EXPECT_EQ(WhitePixelsIn(0, 95, 0, 20), 0);
    EXPECT_GT(WhitePixelsIn(100, 200, 0, 20), 10);
    Frames = 10;
    RunGlimmerFrame();
    EXPECT_GT(WhitePixelsIn(0, 95, 0, 20), 10);
}

TEST(Engine, RateDisplayWithoutASystemFontEndsWithCode7) {
    EngineWorld world("ShowFps 1\n", std::string("1\nmain ") + DejaVuSans + " 1 12\n");
    EXPECT_EXIT(RunGlimmerFrame(), ::testing::ExitedWithCode(7), "Can`t render text:.*system 0");
}

TEST(Engine, DrawPassCountsEveryFiledItemLowestLayerFirst) {
    EngineWorld world;
    PaintScreen(0x000000);
    // Top-level objects are placed from the screen's corner.
    GObject* high = GetGObject(SolidSprite(GDT, 10, 10, 20, 20, 0xFF0000, 9));
    high->SetZLevel(9);
    high->Show();
    GObject* low = GetGObject(SolidSprite(GDT, 20, 20, 20, 20, 0x0000FF, 2));
    low->SetZLevel(2);
    low->Show();
    // A text filed at top level draws nothing there, but is counted.
    CText* text = ObjectOf<CText>(GDT.CreateDescriptor(TypeText, nullptr, 1));
    text->Show();
    // A window counts once, whatever it holds.
    Window* window = MakeWindow(GDT, 0, 0, 800, 600, 4);
    GetGObject(SolidSprite(*window->GetTable(), 300, 300, 10, 10, 0x00FF00))->Show();
    GetGObject(SolidSprite(*window->GetTable(), 320, 300, 10, 10, 0x00FF00))->Show();
    window->Show();
    DebugLogReset();

    RunGlimmerFrame();

    EXPECT_TRUE(TraceHas("Drawed 4 sprites\n"));
    EXPECT_TRUE(TraceHas("In window# 5drawed 2 objects\n"));
    EXPECT_EQ(ScreenPixel(25, 25), 0xFF0000u);
    EXPECT_EQ(ScreenPixel(35, 35), 0x0000FFu);
    EXPECT_EQ(ScreenPixel(325, 305), 0x00FF00u);
}

TEST(Engine, FramesFollowTheWindowSurfaceSdlMakesAnew) {
    EngineWorld world;
    auto getWindow = reinterpret_cast<void* (*)()>(PlatformSdlFunction("SDL12COMPAT_GetWindow"));
    auto setSize = reinterpret_cast<void (*)(void*, int, int)>(PlatformSdlFunction("SDL_SetWindowSize"));
    auto surfaceOf = reinterpret_cast<WindowSurface* (*)(void*)>(PlatformSdlFunction("SDL_GetWindowSurface"));
    ASSERT_TRUE(getWindow && setSize && surfaceOf);
    void* window = getWindow();
    GetGObject(SolidSprite(GDT, 0, 0, 800, 600, 0x204060))->Show();
    const unsigned int dot = SolidSprite(GDT, 100, 100, 10, 10, 0xFFFFFF, 1);
    GetGObject(dot)->Show();
    RunGlimmerFrame();

    // Away and back between frames: a new surface of the same size, which
    // may well sit where the old one was.
    setSize(window, 640, 480);
    setSize(window, 800, 600);
    GDT.GetParams(dot)[0] = 200;
    RunGlimmerFrame();
    const WindowSurface* shown = surfaceOf(window);
    EXPECT_EQ(WindowRgb(shown, 205, 105), 0xFFFFFFu);
    EXPECT_EQ(WindowRgb(shown, 105, 105), 0x204060u);
    EXPECT_EQ(WindowRgb(shown, 700, 500), 0x204060u);

    // A window the screen no longer fits: frames go whole to SDL's screen.
    setSize(window, 640, 480);
    GDT.GetParams(dot)[0] = 300;
    RunGlimmerFrame();
    EXPECT_EQ(SDL_FBSurface, SDL_GetVideoSurface());
    EXPECT_EQ(ScreenPixel(305, 105), 0xFFFFFFu);
    EXPECT_EQ(ScreenPixel(205, 105), 0x204060u);
    EXPECT_EQ(ScreenPixel(700, 500), 0x204060u);
}

TEST(Engine, DrawsWhatAProgramWroteIntoAPictureOnceItIsTouched) {
    EngineWorld world;
    GetGObject(SolidSprite(GDT, 0, 0, 800, 600, 0x204060))->Show();
    // A wide picture, clear but for one column: drawing passes over the rest.
    const unsigned int bar = SolidSprite(GDT, 100, 100, 100, 10, 0xFFFFFF, 1);
    Sprite* sprite = ObjectOf<Sprite>(bar);
    SDL_Surface* pixels = sprite->Surface;
    for (int y = 0; y < pixels->h; ++y)
        for (int x = 0; x < pixels->w; ++x)
            if (x != 50) reinterpret_cast<Uint32*>(static_cast<Uint8*>(pixels->pixels) + y * pixels->pitch)[x] = 0;
    sprite->SetAlpha(255);
    sprite->Show();
    RunGlimmerFrame();
    EXPECT_EQ(ScreenPixel(150, 105), 0xFFFFFFu);
    EXPECT_EQ(ScreenPixel(120, 105), 0x204060u);

    pixels = sprite->Surface;
    reinterpret_cast<Uint32*>(static_cast<Uint8*>(pixels->pixels) + 5 * pixels->pitch)[20] = 0xFFFFFFFFu;
    sprite->Touch();
    RunGlimmerFrame();
    EXPECT_EQ(ScreenPixel(120, 105), 0xFFFFFFu);
    EXPECT_EQ(ScreenPixel(150, 105), 0xFFFFFFu);
}

TEST(Engine, PrintScreenSavesTheScreenNamedByTheFrameNumber) {
    EngineWorld world;
    PaintScreen(0x336699);
    SDL_Flip(SDL_FBSurface);
    Frames = 1234;

    SDL_Event release = KeyEvent(SDL_KEYUP, SDLK_PRINT);
    EXPECT_EQ(EngineEventFilter(&release), 0);
    EXPECT_FALSE(FileExists(world.Dir() / "0000001234.bmp"));

    SDL_Event press = KeyEvent(SDL_KEYDOWN, SDLK_PRINT);
    EXPECT_EQ(EngineEventFilter(&press), 0);
    ASSERT_TRUE(FileExists(world.Dir() / "0000001234.bmp"));
    SurfaceOwner shot(SDL_LoadBMP((world.Dir() / "0000001234.bmp").c_str()));
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->w, 800);
    EXPECT_EQ(shot->h, 600);
    EXPECT_EQ(RgbAt(shot.get(), 400, 300), 0x336699u);
}

TEST(Engine, EscapeEndsWithCodeZeroAfterTheStatisticsLine) {
    EngineWorld world;
    Frames = 7;
    PrintTraceAtExit();
    SDL_Event press = KeyEvent(SDL_KEYDOWN, SDLK_ESCAPE);
    // gtest's regular expressions on Windows are a small kind of their own,
    // without brackets; \S is known to both kinds.
#ifdef _WIN32
    const std::string number = "\\d+";
#else
    const std::string number = "[0-9]+";
#endif
    EXPECT_EXIT(EngineEventFilter(&press), ::testing::ExitedWithCode(0),
                "INFO MESSAGE:\tAverage work speed=\\S+ Frames:7 in " + number + " ms\n"
                "INFO MESSAGE:\tExited normally\n");
}

TEST(Engine, EscapeReleaseAlsoEnds) {
    EngineWorld world;
    PrintTraceAtExit();
    SDL_Event release = KeyEvent(SDL_KEYUP, SDLK_ESCAPE);
    EXPECT_EXIT(EngineEventFilter(&release), ::testing::ExitedWithCode(0), "Frames:0 in");
}

TEST(Engine, CloseRequestIsOnlyLogged) {
    EngineWorld world;
    Frames = 3;
    SDL_Event quit;
    SDL_memset(&quit, 0, sizeof quit);
    quit.type = SDL_QUIT;
    EXPECT_EQ(EngineEventFilter(&quit), 1);
    EXPECT_TRUE(TraceHas("INFO MESSAGE:\tAverage work speed="));
    EXPECT_TRUE(TraceHas(" Frames:3 in "));
    EXPECT_EQ(Frames, 3u);
}

TEST(Engine, FilterHandsMouseEventsToTheDispatchers) {
    EngineWorld world;
    static int clicks = 0;
    static int moves = 0;
    unsigned int desc = 0;
    Window* window = MakeWindow(GDT, 0, 0, 100, 100, 0, 16, 8, &desc);
    window->Activate();
    DTable* table = window->GetTable();
    Button* button = ObjectOf<Button>(table->CreateDescriptor(TypeButton, nullptr, 1), *table);
    button->CreateButton(
        0, 0, 100, 100, [](const SDL_MouseButtonEvent*, int, int, unsigned int, unsigned int) { ++clicks; },
        [](const SDL_MouseMotionEvent*, int, int, unsigned int, unsigned int) { ++moves; });
    button->Activate();
    TrackedWindow = desc;

    SDL_Event down = MouseButtonEvent(SDL_MOUSEBUTTONDOWN, 5, 5);
    SDL_Event up = MouseButtonEvent(SDL_MOUSEBUTTONUP, 5, 5);
    SDL_Event move = MotionEvent(5, 5);
    SDL_Event key = KeyEvent(SDL_KEYDOWN, SDLK_a);
    EXPECT_EQ(EngineEventFilter(&down), 0);
    EXPECT_EQ(EngineEventFilter(&up), 0);
    EXPECT_EQ(EngineEventFilter(&move), 0);
    EXPECT_EQ(EngineEventFilter(&key), 0);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(moves, 1);
}
