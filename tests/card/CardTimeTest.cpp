#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "card/Card.h"
#include "tests/support/TestWorld.h"

namespace {

constexpr time_t NewYear2004Utc = 1072915200;

void UseZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
}

}  // namespace

TEST(CardCountdown, ReadsOneSecondBeforeTheTarget) {
    UseZone("UTC");
    EXPECT_EQ(CountdownTextAt(NewYear2004Utc, NewYear2004Utc - 1),
              "До Нового, 2004, года осталось 0 часов 0 минут 1 секунд");
}

TEST(CardCountdown, SwitchesToTheTimeSinceAtTheTarget) {
    UseZone("UTC");
    EXPECT_EQ(CountdownTextAt(NewYear2004Utc, NewYear2004Utc),
              "С Начала , 2004, года прошло 0 часов 0 минут 0 секунд");
    EXPECT_EQ(CountdownTextAt(NewYear2004Utc, NewYear2004Utc + 3600),
              "С Начала , 2004, года прошло 1 часов 0 минут 0 секунд");
}

TEST(CardCountdown, ShowsHoursBeyondADay) {
    UseZone("UTC");
    EXPECT_EQ(CountdownTextAt(NewYear2004Utc, NewYear2004Utc - 90061),
              "До Нового, 2004, года осталось 25 часов 1 минут 1 секунд");
}

TEST(CardCountdown, CountsTheYearsSinceInHours) {
    UseZone("UTC");
    // 1 January 2026, 00:00:30 UTC.
    EXPECT_EQ(CountdownTextAt(NewYear2004Utc, 1767225630),
              "С Начала , 2004, года прошло 192864 часов 0 минут 30 секунд");
    // More seconds than 32 bits hold: 1 January 2200 from 1 January 2004.
    EXPECT_EQ(CountdownTextAt(NewYearMoment(2200), NewYear2004Utc),
              "До Нового, 2200, года осталось 1718112 часов 0 минут 0 секунд");
}

// Moments of a zone three hours east of UTC, written as its local time.
TEST(CardCountdown, CountsToTheNearestNewYearAroundTheTurnOfTheYear) {
    UseZone("MSK-3");
    const auto local = [](int year, int month, int day, int hour, int minute, int second) {
        struct tm t = {};
        t.tm_year = year - 1900;
        t.tm_mon = month - 1;
        t.tm_mday = day;
        t.tm_hour = hour;
        t.tm_min = minute;
        t.tm_sec = second;
        return timegm(&t) - 3 * 3600;
    };
    NewYear = NewYearNearest;
    const struct {
        time_t now;
        const char* text;
    } moments[] = {
        {local(2026, 12, 31, 23, 59, 30), "До Нового, 2027, года осталось 0 часов 0 минут 30 секунд"},
        {local(2027, 1, 1, 0, 0, 0), "С Начала , 2027, года прошло 0 часов 0 минут 0 секунд"},
        {local(2027, 1, 1, 0, 0, 5), "С Начала , 2027, года прошло 0 часов 0 минут 5 секунд"},
        {local(2026, 7, 1, 23, 59, 59), "С Начала , 2026, года прошло 4367 часов 59 минут 59 секунд"},
        {local(2026, 7, 2, 0, 0, 0), "До Нового, 2027, года осталось 4392 часов 0 минут 0 секунд"},
        {local(2028, 2, 29, 12, 0, 0), "С Начала , 2028, года прошло 1428 часов 0 минут 0 секунд"},
        {local(2028, 12, 8, 11, 0, 0), "До Нового, 2029, года осталось 565 часов 0 минут 0 секунд"},
    };
    for (const auto& m : moments) EXPECT_EQ(CountdownTextAt(CardTargetAt(m.now), m.now), m.text) << m.now;
    NewYear = 2027;
    EXPECT_EQ(CountdownTextAt(CardTargetAt(local(2026, 3, 1, 0, 0, 0)), local(2026, 3, 1, 0, 0, 0)),
              "До Нового, 2027, года осталось 7344 часов 0 минут 0 секунд");
}

TEST(CardClock, ShowsTheLocalTimeInAsctimeLayoutWithoutLineFeed) {
    UseZone("UTC");
    EXPECT_EQ(ClockTextAt(NewYear2004Utc), "Thu Jan  1 00:00:00 2004");
    EXPECT_EQ(ClockTextAt(NewYear2004Utc - 1), "Wed Dec 31 23:59:59 2003");
    UseZone("MSK-3");
    EXPECT_EQ(ClockTextAt(NewYear2004Utc), "Thu Jan  1 03:00:00 2004");
}

TEST(CardTarget, IsLocalMidnightOfTheFirstOfJanuary2004WithoutTheSetting) {
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

// The card's generator is glibc's unseeded rand(), whatever the C library:
// the same snow on every platform. Its first values are known; on glibc the
// whole run is compared.
TEST(CardRandom, DrawsGlibcsUnseededSequenceOnEveryPlatform) {
    const int first[] = {1804289383 >> 16, 846930886 >> 16, 1681692777 >> 16, 1714636915 >> 16,
                         1957747793 >> 16};
    for (int expected : first) ASSERT_EQ(CardRand(), expected);
#ifdef __GLIBC__
    for (int i = 0; i < 5; ++i) std::rand();
    for (int i = 0; i < 100000; ++i) ASSERT_EQ(CardRand(), std::rand() >> 16) << "value " << i + 5;
#endif
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
    short pos[2] = {4, 100};
    ParticleShape shape{10, 10, 5, 0};
    BounceParticle(p, pos[0], shape, 800);
    EXPECT_EQ(p.DX, 2.0f);
    DriftAndMoveParticle(p, pos);
    EXPECT_EQ(pos[0], 6);
    EXPECT_EQ(pos[1], 101);
    EXPECT_EQ(p.DriftTimer, 4.0f);
}

// Edges are x - XCenter and x - XCenter + XSize.
TEST(CardParticle, BouncesAtTheRightEdgeOnlyWhenHeadingThere) {
    ParticleShape shape{10, 10, 5, 5};
    Particle right{5.0f, 2.0f, 1.0f};
    BounceParticle(right, 796, shape, 800);
    EXPECT_EQ(right.DX, -2.0f);
    Particle away{5.0f, -1.0f, 1.0f};
    BounceParticle(away, 796, shape, 800);
    EXPECT_EQ(away.DX, -1.0f);
    Particle edge{5.0f, 2.0f, 1.0f};
    BounceParticle(edge, 795, shape, 800);
    EXPECT_EQ(edge.DX, 2.0f);
}

TEST(CardParticle, LetsALineWiderThanHalfTheScreenKeepItsStepInside) {
    ParticleShape line{500, 28, 0, 0};
    for (float dx : {-2.0f, 2.0f}) {
        Particle p{5.0f, dx, 1.0f};
        BounceParticle(p, 150, line, 800);
        EXPECT_EQ(p.DX, dx);
    }
}

TEST(CardParticle, StartsAGreetingLineInsideOrCentredWhenWiderThanTheScreen) {
    EXPECT_EQ(GreetingLineColumn(32767, 799.0, 500, 800, 1.0f), 300);
    EXPECT_EQ(GreetingLineColumn(32767, 400.0, 200, 800, 1.0f), 400);
    // 1280 pixels across 800 design units: 780 pixels of room are 487 units.
    EXPECT_EQ(GreetingLineColumn(32767, 799.0, 500, 1280, 1.6f), 487);
    EXPECT_EQ(GreetingLineColumn(0, 799.0, 1000, 800, 1.0f), -100);
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
