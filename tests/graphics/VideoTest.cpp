#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>

#include <glimmer/glimmer.h>
#include "tests/support/TestWorld.h"

namespace {

class VideoStart : public ::testing::Test {
protected:
    void SetUp() override { DebugLogReset(); }

    void Configure(const std::string& keys) {
        std::string path = dir / "engine.cfg";
        WriteTextFile(path, keys);
        CFG.LoadConfig(path.c_str());
        DebugLogReset();
    }

    TempDir dir;
};

TEST_F(VideoStart, DefaultModeIs800x600At16BitsInAWindow) {
    VideoInit();
    ASSERT_NE(SDL_FBSurface, nullptr);
    EXPECT_EQ(SDL_FBSurface, SDL_GetVideoSurface());
    EXPECT_EQ(SDL_FBSurface->w, 800);
    EXPECT_EQ(SDL_FBSurface->h, 600);
    EXPECT_EQ(SDL_FBSurface->format->BitsPerPixel, 16);
    EXPECT_EQ(SDL_FBSurface->flags & SDL_FULLSCREEN, 0u);
    EXPECT_TRUE(TraceHas("INFO MESSAGE:\tVideo driver name:dummy\n"));
    EXPECT_TRUE(TraceHas("BPP:16\nVideoParams:0\nResoulution:800x600\n"));
}

TEST_F(VideoStart, SixteenBitScreenGetsThe32BitTemplateFormat) {
    VideoInit();
    const SDL_PixelFormat* format = CFG.PixelFormat;
    ASSERT_NE(format, nullptr);
    EXPECT_NE(format, SDL_FBSurface->format);
    EXPECT_EQ(format->palette, nullptr);
    EXPECT_EQ(format->BitsPerPixel, 32);
    EXPECT_EQ(format->BytesPerPixel, 4);
    EXPECT_EQ(format->Rmask, 0x00FF0000u);
    EXPECT_EQ(format->Gmask, 0x0000FF00u);
    EXPECT_EQ(format->Bmask, 0x000000FFu);
    EXPECT_EQ(format->Amask, 0xFF000000u);
    EXPECT_EQ(format->Ashift, 24);
    EXPECT_EQ(CFG.Rmask, 0x00FF0000u);
    EXPECT_EQ(CFG.Gmask, 0x0000FF00u);
    EXPECT_EQ(CFG.Bmask, 0x000000FFu);
    EXPECT_EQ(CFG.Amask, 0xFF000000u);
    // A colour mapped through the template lands where its masks say.
    EXPECT_EQ(SDL_MapRGBA(CFG.PixelFormat, 0x12, 0x34, 0x56, 0x78), 0x78123456u);

    EXPECT_TRUE(TraceHas("Rmask:f800\nGmask:7e0\nBmask:1f\nAmask:0\n"
                         "Rshiftb\nGshift5\nBshift0\nAshift0\n"
                         "Rloss3\nGloss2\nBloss3\nAloss8\n"
                         "Rmask:ff0000\nGmask:ff00\nBmask:ff\nAmask:ff000000\n"));
}

TEST_F(VideoStart, ThirtyTwoBitScreenWithoutAlphaAlsoGetsTheTemplate) {
    Configure("Bpp 32");
    VideoInit();
    EXPECT_EQ(SDL_FBSurface->format->BitsPerPixel, 32);
    ASSERT_NE(CFG.PixelFormat, nullptr);
    EXPECT_NE(CFG.PixelFormat, SDL_FBSurface->format);
    EXPECT_EQ(CFG.PixelFormat->Amask, 0xFF000000u);
    EXPECT_EQ(CFG.Amask, 0xFF000000u);
    EXPECT_EQ(SDL_MapRGBA(CFG.PixelFormat, 0x12, 0x34, 0x56, 0x78), 0x78123456u);
    EXPECT_TRUE(TraceHas("BPP:32\n"));
    EXPECT_TRUE(TraceHas("Rmask:ff0000\nGmask:ff00\nBmask:ff\nAmask:0\nRshift10\nGshift8\nBshift0\n"));
}

TEST_F(VideoStart, HexadecimalLinesSwitchBackToDecimal) {
    Configure("Width 1000 Height 700 AllowAnyFormat 1");
    VideoInit();
    EXPECT_EQ(SDL_FBSurface->w, 1000);
    EXPECT_TRUE(TraceHas("BPP:16\nVideoParams:10000000\nResoulution:1000x700\n"));
}

TEST_F(VideoStart, GammaFailureIsOnlyLogged) {
    Configure("RGamma 1.2");
    VideoInit();
    // The dummy driver has no gamma ramp: the run goes on after one line.
    EXPECT_TRUE(TraceHas("INFO MESSAGE:\tGamma couldn`t be changed\n"));
    EXPECT_NE(SDL_FBSurface, nullptr);
}

TEST_F(VideoStart, CursorIsShown) {
    VideoInit();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), 1);
}

std::atomic<int> timerTicks{0};
Uint32 CountTick(Uint32 interval) {
    ++timerTicks;
    return interval;
}

TEST_F(VideoStart, MissingAudioDeviceStillStartsVideoAndTimer) {
    setenv("SDL_AUDIODRIVER", "no-such-audio", 1);
    VideoInit();
    ASSERT_NE(SDL_FBSurface, nullptr);
    EXPECT_EQ(SDL_FBSurface->w, 800);
    ASSERT_EQ(SDL_SetTimer(10, CountTick), 0);
    for (int waited = 0; timerTicks == 0 && waited < 2000; waited += 10) SDL_Delay(10);
    SDL_SetTimer(0, nullptr);
    EXPECT_GT(timerTicks, 0);
}

TEST_F(VideoStart, UnsupportedDepthEndsWithCode1AndSdlsText) {
    Configure("Bpp 7");
    EXPECT_EXIT(VideoInit(), ::testing::ExitedWithCode(1), "INFO MESSAGE:\tSDL error:.+");
}

TEST_F(VideoStart, ScreenTooLargeEndsWithCode1) {
    Configure("Width 30000 Height 30000 Bpp 32");
    EXPECT_EXIT(VideoInit(), ::testing::ExitedWithCode(1), "INFO MESSAGE:\tSDL error:.+");
}

TEST_F(VideoStart, OpenGLWithoutOpenGLSupportEndsWithCode1) {
    Configure("OpenGL 1 DoubleBuffer 1");
    EXPECT_EXIT(VideoInit(), ::testing::ExitedWithCode(1), "INFO MESSAGE:\tSDL error:.*OpenGL");
}


TEST(NoDisplay, OnlyAnUnaskedDriverThatShowsNothingCounts) {
    struct Case {
        const char* chosen;
        const char* requested;
        bool noDisplay;
    } cases[] = {
        {"offscreen", nullptr, true},    {"dummy", nullptr, true},        {"offscreen", "", true},
        {"offscreen", "x11", true},      {"offscreen", "dummy", true},    {"offscreen", "offscreen", false},
        {"dummy", "dummy", false},       {"dummy", "DUMMY", false},       {"offscreen", "x11,offscreen", false},
        {"offscreen", "x11,offscreenx", true}, {"x11", nullptr, false},   {"wayland", nullptr, false},
        {"kmsdrm", nullptr, false},      {nullptr, nullptr, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NoDisplay(c.chosen, c.requested), c.noDisplay)
            << (c.chosen ? c.chosen : "(null)") << " / " << (c.requested ? c.requested : "(null)");
    }
}

TEST(NoDisplay, MessageNamesWhatIsMissingAndWhatToDo) {
    std::string none = NoDisplayMessage("offscreen", nullptr, "");
    EXPECT_NE(none.find("neither DISPLAY nor WAYLAND_DISPLAY is set"), std::string::npos) << none;
    EXPECT_NE(none.find("\"offscreen\""), std::string::npos) << none;
    EXPECT_NE(none.find("desktop session"), std::string::npos) << none;
    EXPECT_NE(none.find("make screenshot"), std::string::npos) << none;
    std::string unreachable = NoDisplayMessage("offscreen", ":77", nullptr);
    EXPECT_NE(unreachable.find("the display of DISPLAY=:77 cannot be opened, so SDL"), std::string::npos) << unreachable;
}

TEST_F(VideoStart, WithoutDisplayEndsAtOnceWithWhatToDo) {
    for (const char* name : {"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY"}) unsetenv(name);
    EXPECT_EXIT(VideoInit(), ::testing::ExitedWithCode(1),
                "INFO MESSAGE:\tSDL error:no display: neither DISPLAY nor WAYLAND_DISPLAY is set.*make screenshot");
}

}  // namespace
