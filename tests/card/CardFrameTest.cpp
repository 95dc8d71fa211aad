#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "card/Card.h"
#include <glimmer/glimmer.h>
#include "tests/card/CardWorld.h"

namespace {

constexpr time_t NewYear2004Utc = 1072915200;

short* PositionOf(unsigned int particle) { return GDT.GetParams(ParticleDescs[particle]); }

// Puts a particle just below the screen, so that the next move brings it back.
void DropBelow(unsigned int particle) {
    GObject* o = GetGObject(ParticleDescs[particle]);
    PositionOf(particle)[1] = static_cast<short>(600 + o->GetYSize());
}

}  // namespace

TEST(CardFrame, WritesClockAndCountdownCentredAboveTheirPositions) {
    setenv("TZ", "UTC", 1);
    tzset();
    CardWorld world("SnowNum 0\n");
    world.Start();
    ShowCardTime(NewYear2004Utc - 1);
    CText* clock = CardText(ClockText);
    CText* countdown = CardText(CountdownText);
    EXPECT_STREQ(clock->Text, "Wed Dec 31 23:59:59 2003");
    EXPECT_STREQ(countdown->Text, "До Нового, 2004, года осталось 0 часов 0 минут 1 секунд");
    EXPECT_EQ(clock->GetXCenter(), clock->GetXSize() / 2);
    EXPECT_EQ(clock->GetYCenter(), clock->GetYSize());
    EXPECT_EQ(countdown->GetXCenter(), countdown->GetXSize() / 2);
    EXPECT_EQ(countdown->GetYCenter(), countdown->GetYSize());
    std::vector<unsigned int> front = LayerOfCard(255);
    ASSERT_EQ(front.size(), 4u);
    EXPECT_EQ(front[2], ClockText);
    EXPECT_EQ(front[3], CountdownText);
    ShowCardTime(NewYear2004Utc + 3600);
    EXPECT_STREQ(countdown->Text, "С Начала , 2004, года прошло 1 часов 0 минут 0 секунд");
    EXPECT_EQ(LayerOfCard(255).size(), 4u);
}

TEST(CardFrame, DrawsTheTimeTextsInPaleBlueNearTheBottom) {
    CardWorld world("SnowNum 0\n");
    world.Start();
    RunGlimmerFrame();
    int clockPixels = 0, countdownPixels = 0;
    for (int y = 530; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            if (ScreenRgb(x, y) != 0xC8C8FF) continue;
            if (y < 560) ++clockPixels;
            else ++countdownPixels;
        }
    }
    EXPECT_GT(clockPixels, 20);
    EXPECT_GT(countdownPixels, 50);
}

TEST(CardFrame, MovesEveryParticleDownByItsStep) {
    CardWorld world("SnowNum 1\nSnowDensity 0.25\n");
    world.Start();
    ASSERT_EQ(ParticleCount, 9u);
    std::vector<short> before;
    for (unsigned int i = 0; i < ParticleCount; ++i) before.push_back(PositionOf(i)[1]);
    CardFrame(0);
    for (unsigned int i = 0; i < ParticleCount; ++i) {
        EXPECT_EQ(PositionOf(i)[1], before[i] + static_cast<int>(Particles[i].DY)) << "particle " << i;
        EXPECT_GE(Particles[i].DriftTimer, -1.0f);
    }
}

TEST(CardFrame, BringsAFlakeBackAboveTheTopWithNewLevelAndSpeed) {
    CardWorld world("SnowNum 1\nSnowDensity 0.0625\nSnowSpeed 4\n");
    world.Start();
    ASSERT_EQ(ParticleCount, 3u);
    Sprite* flake = ObjectOf<Sprite>(ParticleDescs[0]);
    int seen = 0;
    for (int round = 0; round < 20; ++round) {
        DropBelow(0);
        MoveCardParticles();
        short* pos = PositionOf(0);
        EXPECT_EQ(pos[1], -flake->GetYSize() - flake->GetYCenter() + static_cast<int>(Particles[0].DY));
        EXPECT_GE(Particles[0].DY, 1.0f);
        EXPECT_LE(Particles[0].DY, 5.0f);
        EXPECT_GE(flake->GetZLevel(), 128);
        EXPECT_LE(flake->GetZLevel(), 248);
        std::vector<unsigned int> layer = LayerOfCard(flake->GetZLevel());
        EXPECT_NE(std::find(layer.begin(), layer.end(), ParticleDescs[0]), layer.end());
        seen += static_cast<int>(layer.size());
    }
    // Every flake is filed exactly once, in the layer of its level.
    unsigned int filed = 0;
    for (unsigned int z = 128; z <= 248; ++z) filed += LayerOfCard(z).size();
    EXPECT_EQ(filed, ParticleCount);
    EXPECT_GT(seen, 0);
}

TEST(CardFrame, CyclesTheGreetingLineThroughTheLines) {
    CardWorld world("SnowNum 0\nTextSpeed 2\n", "one\ntwo\nthree");
    world.Start();
    ASSERT_EQ(LineCount, 3u);
    std::vector<std::string> shown{CardText(ScrollText)->Text};
    for (int i = 0; i < 5; ++i) {
        CardText(ScrollText)->Render();
        DropBelow(0);
        MoveCardParticles();
        shown.push_back(CardText(ScrollText)->Text);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"one", "two", "three", "one", "two", "three"}));
}

TEST(CardFrame, PlacesTheReturningGreetingLineByTheWidthOfTheLineItNowShows) {
    CardWorld world("SnowNum 0\nTextSpeed 2\n", "short\nЗдоровья, смеха и верных друзей рядом");
    world.Start();
    CText* line = CardText(ScrollText);
    for (int i = 0; i < 30; ++i) {
        line->Render();
        DropBelow(0);
        MoveCardParticles();
        short* pos = PositionOf(0);
        EXPECT_EQ(line->Dirty, 0) << "rendered before it was placed";
        EXPECT_GE(pos[0] - static_cast<int>(Particles[0].DX), 0);
        EXPECT_LE(pos[0] - static_cast<int>(Particles[0].DX) + line->GetXSize(), 800) << line->Text;
        EXPECT_EQ(pos[1], -line->GetYSize() + static_cast<int>(Particles[0].DY));
        EXPECT_GE(Particles[0].DY, 1.0f);
        EXPECT_LE(Particles[0].DY, 3.0f);
        EXPECT_NE(line->VQnum, -1);
    }
}

TEST(CardFrame, StartsALineWiderThanTheScreenCentredAndKeepsItThere) {
    CardWorld world("SnowNum 0\nTextSpeed 2\n", "Happy New Year to everyone who reads this wide line, all winter long!");
    world.Start();
    CText* line = CardText(ScrollText);
    ASSERT_GT(line->GetXSize(), 800);
    const short centred = static_cast<short>((800 - line->GetXSize()) / 2);
    EXPECT_EQ(PositionOf(0)[0], centred);
    for (int i = 0; i < 150; ++i) CardFrame(0);
    EXPECT_EQ(PositionOf(0)[0], centred);
}

TEST(CardFrame, GivesEveryParticleItsFirstDriftInTheFirstFrame) {
    CardWorld world("SnowNum 1\nSnowDensity 0.5\n");
    world.Start();
    CardFrame(0);
    for (unsigned int i = 0; i < ParticleCount; ++i) {
        EXPECT_GE(Particles[i].DriftTimer, -1.0f);
        EXPECT_LE(Particles[i].DriftTimer, 98.0f);
        EXPECT_GE(Particles[i].DX, -2.0f);
        EXPECT_LE(Particles[i].DX, 3.0f);
    }
}
