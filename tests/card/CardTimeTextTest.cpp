// The clock and the countdown keep their rendering while their words stay the
// same and render again as soon as they change.
#include <gtest/gtest.h>

#include <cstdlib>

#include "card/Card.h"
#include <glimmer/glimmer.h>
#include "tests/card/CardWorld.h"

namespace {

constexpr time_t NewYear2004Utc = 1072915200;

}  // namespace

TEST(CardTimeTexts, KeepTheirRenderingWithinOneSecond) {
    setenv("TZ", "UTC", 1);
    tzset();
    CardWorld world("SnowNum 0\n");
    world.Start();
    ShowCardTime(NewYear2004Utc - 10);
    SDL_Surface* clock = CardText(ClockText)->GetSurface();
    SDL_Surface* countdown = CardText(CountdownText)->GetSurface();
    ASSERT_NE(clock, nullptr);
    ASSERT_NE(countdown, nullptr);
    ShowCardTime(NewYear2004Utc - 10);
    EXPECT_EQ(CardText(ClockText)->GetSurface(), clock);
    EXPECT_EQ(CardText(CountdownText)->GetSurface(), countdown);
    EXPECT_EQ(CardText(ClockText)->Rendered, 1);
    EXPECT_EQ(CardText(CountdownText)->GetXCenter(), CardText(CountdownText)->GetXSize() / 2);
}

TEST(CardTimeTexts, RenderTheNewWordsWhenTheSecondChanges) {
    setenv("TZ", "UTC", 1);
    tzset();
    CardWorld world("SnowNum 0\n");
    world.Start();
    ShowCardTime(NewYear2004Utc - 10);
    ShowCardTime(NewYear2004Utc - 9);
    CText* clock = CardText(ClockText);
    CText* countdown = CardText(CountdownText);
    EXPECT_STREQ(clock->Text, "Wed Dec 31 23:59:51 2003");
    EXPECT_STREQ(countdown->Text, "До Нового, 2004, года осталось 0 часов 0 минут 9 секунд");
    EXPECT_EQ(clock->Rendered, 1);
    EXPECT_EQ(countdown->Rendered, 1);
    EXPECT_EQ(clock->GetYCenter(), clock->GetYSize());
}

TEST(CardTimeTexts, RenderAgainWhenTheirPictureWasDropped) {
    setenv("TZ", "UTC", 1);
    tzset();
    CardWorld world("SnowNum 0\n");
    world.Start();
    ShowCardTime(NewYear2004Utc - 10);
    CardText(ClockText)->Clear();
    ShowCardTime(NewYear2004Utc - 10);
    EXPECT_EQ(CardText(ClockText)->Rendered, 1);
    EXPECT_NE(CardText(ClockText)->GetSurface(), nullptr);
    EXPECT_STREQ(CardText(ClockText)->Text, "Wed Dec 31 23:59:50 2003");
}

TEST(CardTimeTexts, StepDownToASmallerSizeWhenTheCountdownIsWiderThanTheScreen) {
    setenv("TZ", "UTC", 1);
    tzset();
    CardWorld world("SnowNum 0\nWidth 700\n");
    world.Start();
    // 1 January 2026, 00:00:30 UTC: six digits of hours since 2004.
    ShowCardTime(1767225630);
    CText* countdown = CardText(CountdownText);
    EXPECT_LE(countdown->GetXSize(), 700);
    EXPECT_STREQ(countdown->Font, "main 12");
    EXPECT_EQ(countdown->GetXCenter(), countdown->GetXSize() / 2);
}
