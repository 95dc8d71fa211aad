#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "card/Card.h"

namespace {

constexpr time_t NewYear2004Utc = 1072915200;

void UseZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
}

}  // namespace

TEST(CardCountdown, ReadsOneSecondBeforeTheTarget) {
    EXPECT_EQ(CountdownTextAt(1000, 999), "До Нового, 2004, года осталось 0 часов 0 минут 1 секунд");
}

TEST(CardCountdown, SwitchesToTheTimeSinceAtTheTarget) {
    EXPECT_EQ(CountdownTextAt(1000, 1000), "С Начала , 2004, года прошло 0 часов 0 минут 0 секунд");
}

TEST(CardCountdown, CountsTheTimeSinceAfterTheTarget) {
    EXPECT_EQ(CountdownTextAt(1000, 1000 + 3600), "С Начала , 2004, года прошло 1 часов 0 минут 0 секунд");
}

TEST(CardCountdown, ShowsHoursBeyondADay) {
    EXPECT_EQ(CountdownTextAt(100000, 100000 - 90061),
              "До Нового, 2004, года осталось 25 часов 1 минут 1 секунд");
}

TEST(CardCountdown, CountsTheYearsSinceInHours) {
    // 1 January 2026, 00:00:30 UTC.
    EXPECT_EQ(CountdownTextAt(NewYear2004Utc, 1767225630),
              "С Начала , 2004, года прошло 192864 часов 0 минут 30 секунд");
}

TEST(CardClock, ShowsTheLocalTimeInAsctimeLayoutWithoutLineFeed) {
    UseZone("UTC");
    EXPECT_EQ(ClockTextAt(NewYear2004Utc), "Thu Jan  1 00:00:00 2004");
    EXPECT_EQ(ClockTextAt(NewYear2004Utc - 1), "Wed Dec 31 23:59:59 2003");
    UseZone("MSK-3");
    EXPECT_EQ(ClockTextAt(NewYear2004Utc), "Thu Jan  1 03:00:00 2004");
}

TEST(CardTarget, IsLocalMidnightOfTheFirstOfJanuary2004) {
    UseZone("UTC");
    EXPECT_EQ(CardTargetMoment(), NewYear2004Utc);
    UseZone("MSK-3");
    EXPECT_EQ(CardTargetMoment(), NewYear2004Utc - 3 * 3600);
}

TEST(CardRandom, StaysIn0To32767AndCoversTheRange) {
    int low = 32767, high = 0;
    for (int i = 0; i < 20000; ++i) {
        int v = CardRand();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
        low = std::min(low, v);
        high = std::max(high, v);
    }
    EXPECT_LT(low, 100);
    EXPECT_GT(high, 32667);
}

TEST(CardRandom, ScalesBySpanOver32767) {
    for (int i = 0; i < 5000; ++i) {
        int v = CardRandom(800.0);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 800);
        float step = CardFallStep(3);
        ASSERT_GE(step, 1.0f);
        ASSERT_LE(step, 4.0f);
    }
}

TEST(CardFlakes, FollowTheLimitSnowNumTimesDensityTimesHeightOver20) {
    EXPECT_EQ(CardFlakeCount(0, 1.0f, 600), 0u);
    EXPECT_EQ(CardFlakeCount(10, 0.0f, 600), 0u);
    EXPECT_EQ(CardFlakeCount(10, 1.0f, 600), 300u);
    EXPECT_EQ(CardFlakeCount(10, 1.0f, 768), 384u);
    EXPECT_EQ(CardFlakeCount(100, 1.0f, 600), 3000u);
}

TEST(CardFlakes, CountUpToTheNextWholeNumber) {
    // 7 x 1.5 x 20 / 20 = 10.5
    EXPECT_EQ(CardFlakeCount(7, 1.5f, 20), 11u);
}

TEST(CardFlakes, CountTheExcessOfADensityThatSinglePrecisionCannotHold) {
    // 0.1 as a float lies slightly above 0.1, so the limit lies above 3.
    EXPECT_EQ(CardFlakeCount(1, 0.1f, 600), 4u);
    EXPECT_EQ(CardFlakeCount(1, 0.125f, 600), 4u);
    EXPECT_EQ(CardFlakeCount(1, 0.25f, 600), 8u);
}

TEST(CardFlakes, TakeANegativeSnowNumAsAHugeUnsignedNumber) {
    EXPECT_GT(CardFlakeCount(-1, 1.0f, 600), 2991u);
    EXPECT_EQ(CardFlakeCount(10, -1.0f, 600), 0u);
}

TEST(CardParticle, BouncesAtTheLeftEdgeAndMovesRightInTheSameFrame) {
    Particle p{5.0f, -2.0f, 1.0f};
    short pos[2] = {0, 100};
    ParticleShape shape{10, 10, 0, 0};
    BounceParticle(p, pos[0], shape, 800);
    EXPECT_EQ(p.DX, 2.0f);
    DriftAndMoveParticle(p, pos);
    EXPECT_EQ(pos[0], 2);
    EXPECT_EQ(pos[1], 101);
    EXPECT_EQ(p.DriftTimer, 4.0f);
}

TEST(CardParticle, BouncesAtTheRightEdgeOnlyWhenHeadingThere) {
    ParticleShape shape{10, 10, 5, 5};
    Particle right{5.0f, 2.0f, 1.0f};
    BounceParticle(right, 790, shape, 800);
    EXPECT_EQ(right.DX, -2.0f);
    Particle away{5.0f, -1.0f, 1.0f};
    BounceParticle(away, 790, shape, 800);
    EXPECT_EQ(away.DX, -1.0f);
    Particle inside{5.0f, 2.0f, 1.0f};
    BounceParticle(inside, 400, shape, 800);
    EXPECT_EQ(inside.DX, 2.0f);
}

TEST(CardParticle, LeavesAtTheBottomOnceItsWholeHeightIsBelow) {
    ParticleShape shape{10, 12, 0, 0};
    EXPECT_FALSE(ParticleBelowScreen(611, shape, 600));
    EXPECT_TRUE(ParticleBelowScreen(612, shape, 600));
}

TEST(CardParticle, DrawsANewDriftWhenItsTimerIsZero) {
    for (int i = 0; i < 200; ++i) {
        Particle p{0.0f, 0.0f, 1.0f};
        short pos[2] = {400, 0};
        DriftAndMoveParticle(p, pos);
        ASSERT_GE(p.DriftTimer, -1.0f);
        ASSERT_LE(p.DriftTimer, 98.0f);
        ASSERT_GE(p.DX, -2.0f);
        ASSERT_LE(p.DX, 3.0f);
        ASSERT_EQ(pos[0], 400 + static_cast<int>(p.DX));
    }
}

TEST(CardParticle, KeepsItsStepForGoodOnceTheTimerHasPassedZero) {
    Particle p{-1.0f, 2.0f, 1.0f};
    short pos[2] = {0, 0};
    for (int i = 0; i < 300; ++i) DriftAndMoveParticle(p, pos);
    EXPECT_EQ(p.DX, 2.0f);
    EXPECT_EQ(p.DriftTimer, -301.0f);
    EXPECT_EQ(pos[0], 600);
    EXPECT_EQ(pos[1], 300);
}
