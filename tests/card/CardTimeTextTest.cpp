// The clock and the countdown keep their rendering while their words stay the
// same and render again as soon as they change.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>

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

TEST(CardTimeTexts, FollowATimeZoneChangeWithinTheSameSecond) {
    setenv("TZ", "UTC", 1);
    tzset();
    CardWorld world("SnowNum 0\n");
    world.Start();
    ShowCardTime(NewYear2004Utc - 10);
    setenv("TZ", "UTC-3", 1);
    tzset();
    ShowCardTime(NewYear2004Utc - 10);
    EXPECT_STREQ(CardText(ClockText)->Text, "Thu Jan  1 02:59:50 2004");
    setenv("TZ", "UTC", 1);
    tzset();
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

// The shipped card's folder at a screen size, counting to the New Year 2027,
// started the way its main starts it.
class ShippedCardAtSize : public testing::TestWithParam<std::pair<int, int>> {
protected:
    void SetUp() override {
        std::filesystem::copy(std::string(GLIMMER_BINARY_DIR) + "/solvane", folder_.Path(),
                              std::filesystem::copy_options::recursive);
        WriteTextFile(folder_ / "solvane.cfg", ReadTextFile(folder_ / "solvane.cfg") + "\nSnowNum 0\nNewYear 2027\nWidth " +
                                                   std::to_string(GetParam().first) + "\nHeight " +
                                                   std::to_string(GetParam().second) + "\n");
        cd_ = std::make_unique<ScopedChdir>(folder_.Path());
        StartShippedCard();
    }

    TempDir folder_;
    std::unique_ptr<ScopedChdir> cd_;
};

// The widest moment of the year in each language: four-digit hours (2 July
// to the New Year is 4392 hours) and the widest word of each unit. The
// step-down to a smaller font is for settings that count years, not for this.
TEST_P(ShippedCardAtSize, EveryLanguageFitsItsWidestCountdownAndGreetingsWithoutSteppingDown) {
    TTF_Font* font = TTF["main 24"];
    ASSERT_NE(font, nullptr);
    const auto width = [&](const std::string& text) {
        int w = 0, h = 0;
        TTF_SizeUTF8(font, text.c_str(), &w, &h);
        return w;
    };
    const time_t target = NewYearMoment(2027);
    ASSERT_TRUE(ShippedGreetings);
    for (const char* language : {"en", "ru", "uk", "de", "fr", "es"}) {
        ASSERT_EQ(ActivateCardLanguage(language), language);
        for (int sign : {-1, 1}) {
            const auto moment = [&](long h, long m, long s) { return target + sign * (h * 3600 + m * 60 + s); };
            const auto widest = [&](int from, int to, const std::function<time_t(long)>& at) {
                long best = from;
                for (long v = from; v <= to; ++v) {
                    if (width(CountdownTextAt(target, at(v))) > width(CountdownTextAt(target, at(best)))) best = v;
                }
                return best;
            };
            const long h = widest(4293, 4392, [&](long v) { return moment(v, 0, 0); });
            const long m = widest(0, 59, [&](long v) { return moment(h, v, 0); });
            const long s = widest(0, 59, [&](long v) { return moment(h, m, v); });
            ShowCardTime(moment(h, m, s));
            CText* countdown = CardText(CountdownText);
            EXPECT_STREQ(countdown->Font, "main 24") << language << ": " << countdown->Text;
            EXPECT_LE(countdown->GetXSize(), CFG.Width) << language << ": " << countdown->Text;
        }
        for (Uint32 line = 0; line < LineCount; ++line) {
            EXPECT_LE(width(GreetingText(line)), CFG.Width) << language << ": " << GreetingText(line);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ScreenSizes, ShippedCardAtSize,
                         testing::Values(std::make_pair(800, 600), std::make_pair(1280, 1024)));
