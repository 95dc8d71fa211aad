// The screen is handed to the display by SDL's software renderer unless the
// environment asks for something else.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <glimmer/glimmer.h>
#include "tests/support/TestWorld.h"

namespace {

void StartVideo(const TempDir& dir) {
    const std::string path = dir / "engine.cfg";
    WriteTextFile(path, "Bpp 32\n");
    CFG.LoadConfig(path.c_str());
    VideoInit();
}

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "(unset)";
}

}  // namespace

TEST(VideoPresentation, SoftwareRendererWithoutOpenGLFramebuffer) {
    unsetenv("SDL_RENDER_DRIVER");
    unsetenv("SDL_FRAMEBUFFER_ACCELERATION");
    TempDir dir;
    StartVideo(dir);
    ASSERT_NE(SDL_FBSurface, nullptr);
    EXPECT_EQ(Env("SDL_RENDER_DRIVER"), "software");
    EXPECT_EQ(Env("SDL_FRAMEBUFFER_ACCELERATION"), "0");
}

TEST(VideoPresentation, ChoicesMadeInTheEnvironmentStand) {
    setenv("SDL_RENDER_DRIVER", "opengl", 1);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "1", 1);
    TempDir dir;
    StartVideo(dir);
    ASSERT_NE(SDL_FBSurface, nullptr);
    EXPECT_EQ(Env("SDL_RENDER_DRIVER"), "opengl");
    EXPECT_EQ(Env("SDL_FRAMEBUFFER_ACCELERATION"), "1");
}
