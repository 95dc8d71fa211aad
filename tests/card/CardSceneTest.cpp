#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "card/Card.h"
#include <glimmer/glimmer.h>
#include "tests/card/CardWorld.h"

namespace {

Sprite* CardSprite(unsigned int desc) { return ObjectOf<Sprite>(desc); }

}  // namespace

TEST(CardScene, PutsTheSplashOnScreenAtOnce) {
    CardWorld world("SnowNum 1\nSnowDensity 0.5\n");
    world.Start();
    EXPECT_EQ(ScreenRgb(400, 300), SplashColour);
    EXPECT_EQ(ScreenRgb(0, 0), SplashColour);
}

TEST(CardScene, FilesSkyCreditSnowAndForegroundInTheirLayers) {
    CardWorld world("SnowNum 1\nSnowDensity 1.0\nSnowSpeed 3\nTextSpeed 2\n");
    world.Start();
    // 1 x 1.0 x 600 / 20 = 30 flakes, then the greeting line.
    ASSERT_EQ(ParticleCount, 31u);
    EXPECT_EQ(ParticleDescs[30], ScrollText);

    std::vector<unsigned int> sky = LayerOfCard(0);
    ASSERT_EQ(sky.size(), 1u);
    EXPECT_EQ(CardSprite(sky[0])->GetXSize(), 800);
    std::vector<unsigned int> credit = LayerOfCard(1);
    ASSERT_EQ(credit.size(), 1u);
    EXPECT_STREQ(CardText(credit[0])->Text, "Author: Tarnwell");
    std::vector<unsigned int> front = LayerOfCard(255);
    ASSERT_EQ(front.size(), 2u);
    EXPECT_EQ(GDT.GetParams(front[0])[0], 0);
    EXPECT_EQ(GDT.GetParams(front[1])[0], 800);

    for (unsigned int i = 0; i < ParticleCount; ++i) {
        GObject* o = GetGObject(ParticleDescs[i]);
        ASSERT_NE(o, nullptr);
        EXPECT_GE(o->GetZLevel(), 128);
        EXPECT_LE(o->GetZLevel(), 248);
        EXPECT_NE(o->VQnum, -1) << "particle " << i << " is shown";
        short* pos = GDT.GetParams(ParticleDescs[i]);
        EXPECT_GE(pos[1], -600);
        EXPECT_LE(pos[1], 0);
        EXPECT_EQ(Particles[i].DriftTimer, 0.0f);
        EXPECT_EQ(Particles[i].DX, 0.0f);
        EXPECT_GE(Particles[i].DY, 1.0f);
        EXPECT_LE(Particles[i].DY, i < 30 ? 4.0f : 3.0f);
    }
    // The clock and the countdown wait for the first frame.
    EXPECT_EQ(CardText(ClockText)->VQnum, -1);
    EXPECT_EQ(CardText(CountdownText)->VQnum, -1);
    EXPECT_EQ(NextLine, 1u);
}

TEST(CardScene, GivesEachFlakeItsOwnSizeAndTranslucency) {
    CardWorld world("SnowNum 2\nSnowDensity 1.0\n");
    world.Start();
    ASSERT_EQ(ParticleCount, 61u);
    std::vector<int> sizes;
    for (unsigned int i = 0; i + 1 < ParticleCount; ++i) {
        Sprite* flake = CardSprite(ParticleDescs[i]);
        // A size factor of at most 0.6 of the 16-pixel picture, or the
        // picture's own size where the factor came out 0.
        EXPECT_TRUE(flake->GetXSize() <= 10 || flake->GetXSize() == 16) << flake->GetXSize();
        sizes.push_back(flake->GetXSize());
        SDL_Surface* s = flake->GetSurface();
        if (s->w == 0 || s->h == 0) continue;
        SDL_LockSurface(s);
        Uint8 r, g, b, a;
        SDL_GetRGBA(*static_cast<Uint32*>(s->pixels), s->format, &r, &g, &b, &a);
        SDL_UnlockSurface(s);
        EXPECT_GE(a, 70);
        EXPECT_LE(a, 200);
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_LT(sizes.front(), sizes.back());
}

TEST(CardScene, HasOnlyTheGreetingLineWithoutSnowSettings) {
    CardWorld world("");
    world.Start();
    EXPECT_EQ(ParticleCount, 1u);
    EXPECT_EQ(ParticleDescs[0], ScrollText);
    EXPECT_STREQ(CardText(ScrollText)->Text, "Hello");
}

TEST(CardScene, RunsWithoutAGreetingLineWhenTheTextIsMissing) {
    CardWorld world("SnowNum 1\nSnowDensity 0.0625\n", nullptr);
    world.Start();
    EXPECT_EQ(LineCount, 0u);
    EXPECT_EQ(ParticleCount, 2u);
    for (int i = 0; i < 5; ++i) RunGlimmerFrame();
    EXPECT_EQ(Frames, 5u);
}

TEST(CardScene, ShowsAnEmptyFirstLineAsABlank) {
    CardWorld world("", "");
    world.Start();
    ASSERT_EQ(LineCount, 1u);
    EXPECT_STREQ(CardText(ScrollText)->Text, " ");
    RunGlimmerFrame();
    EXPECT_EQ(Frames, 1u);
}

TEST(CardScene, SignsTheCreditWithTheSendersName) {
    CardWorld world("SnowNum 0\n");
    WriteTextFile(world.Dir() / "data/txt/name.txt", "Дед Мороз\n");
    world.Start();
    std::vector<unsigned int> credit = LayerOfCard(1);
    ASSERT_EQ(credit.size(), 1u);
    EXPECT_STREQ(CardText(credit[0])->Text, "Author: Дед Мороз");
}

TEST(CardScene, DrawsTheSkyAndTheCreditInTheFirstFrame) {
    CardWorld world("SnowNum 0\n");
    world.Start();
    RunGlimmerFrame();
    EXPECT_EQ(ScreenRgb(400, 200), SkyColour);
    EXPECT_EQ(ScreenRgb(50, 40), BranchColour);
    EXPECT_EQ(ScreenRgb(750, 40), BranchColour);
    // The credit's bottom-left corner sits on (0, 599): red glyphs there.
    int red = 0;
    for (int y = 580; y < 600; ++y)
        for (int x = 0; x < 120; ++x)
            if (ScreenRgb(x, y) >> 16 > 0xC0 && (ScreenRgb(x, y) & 0xFFFF) < 0x4040) ++red;
    EXPECT_GT(red, 20);
}

TEST(CardSceneDeathTest, EndsWithCode3WhenMoreFlakesThanSlotsAreAskedFor) {
    CardWorld world("SnowNum 100\nSnowDensity 1.0\n");
    EXPECT_EXIT(world.Start(), ::testing::ExitedWithCode(3), "No free descriptors left");
}

TEST(CardSceneDeathTest, EndsWithCode4WhenAPictureIsMissing) {
    CardWorld world("SnowNum 1\n");
    std::remove((world.Dir() / "data/fg/bg1.png").c_str());
    EXPECT_EXIT(world.Start(), ::testing::ExitedWithCode(4), "Can`t find sprite");
}
