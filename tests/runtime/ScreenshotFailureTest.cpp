#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <glimmer/glimmer.h>
#include "tests/support/EngineWorld.h"
#include "tests/support/TestWorld.h"

namespace {

// What Print Screen writes to the trace when its screenshot succeeds (the
// key also goes to the mouse dispatch).
std::string TraceOfASavedScreenshot() {
    TempDir dir;
    ScopedChdir cd(dir.Path());
    DebugLogReset();
    SDL_Event press = KeyEvent(SDL_KEYDOWN, SDLK_PRINT);
    EngineEventFilter(&press);
    EXPECT_TRUE(FileExists(dir / "0000000012.bmp"));
    return DebugLogText();
}

// Presses Print Screen at frame 12 with the screen painted one colour where
// the screenshot cannot be written, then checks that nothing but the
// screenshot was affected: the filter drops the event, the frame count, the
// screen and the trace are as after a saved screenshot, and the next frame
// is drawn as usual.
void ExpectScreenshotFailureChangesNothing() {
    PaintScreen(0x204060);
    SDL_Flip(SDL_FBSurface);
    Frames = 12;
    const std::string saved = TraceOfASavedScreenshot();
    DebugLogReset();

    SDL_Event press = KeyEvent(SDL_KEYDOWN, SDLK_PRINT);
    EXPECT_EQ(EngineEventFilter(&press), 0);

    EXPECT_EQ(Frames, 12u);
    EXPECT_EQ(DebugLogText(), saved);
    EXPECT_EQ(ScreenPixel(400, 300), 0x204060u);
    DebugLogReset();
    RunGlimmerFrame();
    EXPECT_EQ(Frames, 13u);
    EXPECT_TRUE(TraceHas("*****Frame 12 start*****"));
}

}  // namespace

TEST(ScreenshotFailure, ReadOnlyFolderChangesNothingElse) {
    EngineWorld world;
    // No one, root included, can create a file here.
    ScopedChdir cd("/proc");
    ExpectScreenshotFailureChangesNothing();
    EXPECT_FALSE(FileExists("/proc/0000000012.bmp"));
}

TEST(ScreenshotFailure, FullDiskChangesNothingElse) {
    EngineWorld world;
    // Every write to this device fails as on a full disk.
    std::filesystem::create_symlink("/dev/full", world.Dir() / "0000000012.bmp");
    ExpectScreenshotFailureChangesNothing();
    EXPECT_TRUE(std::filesystem::is_symlink(world.Dir() / "0000000012.bmp"));
}

TEST(ScreenshotFailure, NameTakenByAFolderChangesNothingElse) {
    EngineWorld world;
    std::filesystem::create_directory(world.Dir() / "0000000012.bmp");
    ExpectScreenshotFailureChangesNothing();
    EXPECT_TRUE(std::filesystem::is_empty(world.Dir() / "0000000012.bmp"));
}
