// Between frames the loop sleeps until just after the next frame event is
// due, then looks every millisecond; a late frame leaves no sleep at all.
#include <gtest/gtest.h>

#include <glimmer/glimmer.h>

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
