// Between frames the loop rests until the timer posts the next frame event,
// at most until just after it is due, then looks every millisecond.
#include <gtest/gtest.h>

#include <glimmer/glimmer.h>
#include "tests/support/EngineWorld.h"

namespace {

Uint32 PostOneFrame(Uint32, void*) {
    FrameTick(FrameInterval);
    return 0;
}

Uint32 MsSince(Uint32 start) { return SDL_GetTicks() - start; }

}  // namespace

TEST(FrameLoopIdle, SleepsUntilAMillisecondAfterTheNextFrameIsDue) {
    ASSERT_EQ(FrameInterval, 30u);
    EXPECT_EQ(IdleWait(0), 31u);
    EXPECT_EQ(IdleWait(10), 21u);
    EXPECT_EQ(IdleWait(29), 2u);
}

TEST(FrameLoopIdle, LooksEveryMillisecondOnceTheFrameIsDueOrLate) {
    EXPECT_EQ(IdleWait(30), 1u);
    EXPECT_EQ(IdleWait(31), 1u);
    EXPECT_EQ(IdleWait(5000), 1u);
    // The tick counter wraps after 49 days: a huge difference is a late frame.
    EXPECT_EQ(IdleWait(0xFFFFFFF0u), 1u);
    EXPECT_EQ(IdleWait(0xFFFFFFFFu), 1u);
}

TEST(FrameLoopIdle, RestEndsOnceTheTimerPostsAFrame) {
    EngineWorld world;
    RestUntilFrame(0);
    // Posted before the rest began: not lost.
    FrameTick(FrameInterval);
    Uint32 start = SDL_GetTicks();
    RestUntilFrame(5000);
    EXPECT_LT(MsSince(start), 1000u);
    // Posted by the timer's thread while the loop rests.
    ASSERT_NE(SDL_AddTimer(20, PostOneFrame, nullptr), nullptr);
    start = SDL_GetTicks();
    RestUntilFrame(5000);
    EXPECT_LT(MsSince(start), 1000u);
    // Nothing posted: the whole rest.
    start = SDL_GetTicks();
    RestUntilFrame(60);
    EXPECT_GE(MsSince(start), 55u);
}
