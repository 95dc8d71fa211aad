#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "card/Card.h"
#include <glimmer/glimmer.h>
#include "tests/card/CardWorld.h"
#include "tests/support/TestWorld.h"

namespace {

void ReadSettings(const std::string& content) {
    TempDir dir;
    WriteTextFile(dir / "solvane.cfg", content);
    LoadCardSettings((dir / "solvane.cfg").c_str());
}

void ReadText(const std::string& content) {
    TempDir dir;
    WriteTextFile(dir / "data/txt/txt.txt", content);
    NativeFileSystem files;
    files.Open((dir / "data").c_str());
    FS = &files;
    LoadCardText("txt/txt.txt");
    FS = nullptr;
}

SDL_Event EventOfType(Uint8 type) {
    SDL_Event e;
    SDL_memset(&e, 0, sizeof e);
    e.type = type;
    return e;
}

}  // namespace

TEST(CardSettings, KeepDefaultsWhenTheFileHasNoCardKeys) {
    ReadSettings("//// engine only\nWidth 800\nHeight 600\nCaption Solvane\n");
    EXPECT_EQ(SnowNum, 0);
    EXPECT_EQ(SnowDensity, 0.0f);
    EXPECT_EQ(TextSpeed, 100);
    EXPECT_EQ(SnowSpeed, 5);
}

TEST(CardSettings, ReadsTheFourKeysBetweenTheEngineKeys) {
    ReadSettings("Width 800 SnowNum 10 Height 600\nSnowDensity 1.0\nCaption Solvane TextSpeed 3\nSnowSpeed 2\n");
    EXPECT_EQ(SnowNum, 10);
    EXPECT_EQ(SnowDensity, 1.0f);
    EXPECT_EQ(TextSpeed, 3);
    EXPECT_EQ(SnowSpeed, 2);
}

TEST(CardSettings, CountKeysInsideCommentLinesAndTakeTheLastValue) {
    ReadSettings("//// SnowNum 7 was too little\nSnowNum 9\n//// TextSpeed 4 is best\n");
    EXPECT_EQ(SnowNum, 9);
    EXPECT_EQ(TextSpeed, 4);
}

TEST(CardSettings, ReadTheDensityAsAFloat) {
    ReadSettings("SnowDensity 1.5\n");
    EXPECT_FLOAT_EQ(SnowDensity, 1.5f);
    ReadSettings("SnowDensity 2\n");
    EXPECT_FLOAT_EQ(SnowDensity, 2.0f);
}

TEST(CardSettings, KeepTheSettingWhenItsValueIsNoNumber) {
    ReadSettings("SnowNum 12 TextSpeed fast SnowSpeed 7 SnowDensity thick\n");
    EXPECT_EQ(SnowNum, 12);
    EXPECT_EQ(TextSpeed, 100);
    EXPECT_EQ(SnowSpeed, 7);
    EXPECT_EQ(SnowDensity, 0.0f);
}

TEST(CardSettings, ReadAVeryLongWordInPiecesAndGoOn) {
    ReadSettings(std::string(250, 'w') + " SnowNum 4\n" + std::string(99, 'x') + "SnowSpeed 6\n");
    EXPECT_EQ(SnowNum, 4);
    // The piece after the first 99 characters is a word of its own.
    EXPECT_EQ(SnowSpeed, 6);
}

TEST(CardSettings, KeepTheLastValueWhenTheFileEndsAfterIt) {
    ReadSettings("SnowNum 5");
    EXPECT_EQ(SnowNum, 5);
}

TEST(CardSettings, ReadTheNewYearAsAYearOrNearestAndKeepItOtherwise) {
    ReadSettings("NewYear 2027\n");
    EXPECT_EQ(NewYear, 2027);
    ReadSettings("NewYear nearest\n");
    EXPECT_EQ(NewYear, NewYearNearest);
    for (const char* bad : {"soon", "0", "-5", "99999", "2027x", "Nearest", "1e3"}) {
        NewYear = 2030;
        ReadSettings(std::string("NewYear ") + bad + "\n");
        EXPECT_EQ(NewYear, 2030) << bad;
    }
    // A value left out does not take the next key's place.
    ReadSettings("NewYear\nSnowNum 4\n");
    EXPECT_EQ(NewYear, 2030);
    EXPECT_EQ(SnowNum, 4);
}

TEST(CardSettingsDeathTest, EndWithCode10WhenTheFileIsMissing) {
    EXPECT_EXIT(LoadCardSettings("no-such-folder/solvane.cfg"), ::testing::ExitedWithCode(10),
                "Can`t find config file.");
}

TEST(CardText, CountsAnEmptyEntryAfterAFinalLineFeed) {
    ReadText("a\nb\n");
    ASSERT_EQ(LineCount, 3u);
    EXPECT_STREQ(TextLines[0], "a");
    EXPECT_STREQ(TextLines[1], "b");
    EXPECT_STREQ(TextLines[2], "");
}

TEST(CardText, KeepsALastLineWithoutLineFeedWhole) {
    ReadText("first\nlast words");
    ASSERT_EQ(LineCount, 2u);
    EXPECT_STREQ(TextLines[1], "last words");
}

TEST(CardText, GivesOneEmptyEntryForAnEmptyFile) {
    ReadText("");
    ASSERT_EQ(LineCount, 1u);
    EXPECT_STREQ(TextLines[0], "");
}

TEST(CardText, KeepsTheFirst500Lines) {
    std::string text;
    for (int i = 0; i < 600; ++i) text += "line " + std::to_string(i) + "\n";
    ReadText(text);
    ASSERT_EQ(LineCount, 500u);
    EXPECT_STREQ(TextLines[0], "line 0");
    EXPECT_STREQ(TextLines[499], "line 499");
}

TEST(CardText, ContinuesALongLineInTheNextEntry) {
    ReadText(std::string(511, 'a') + std::string(30, 'b') + "\nend");
    ASSERT_EQ(LineCount, 3u);
    EXPECT_EQ(std::string(TextLines[0]), std::string(511, 'a'));
    EXPECT_EQ(std::string(TextLines[1]), std::string(30, 'b'));
    EXPECT_STREQ(TextLines[2], "end");
}

TEST(CardText, KeepsUtf8AndDropsTheCarriageReturnOfWindowsLines) {
    ReadText("С Новым годом!\r\nHappy New Year!");
    ASSERT_EQ(LineCount, 2u);
    EXPECT_STREQ(TextLines[0], "С Новым годом!");
    EXPECT_STREQ(TextLines[1], "Happy New Year!");
}

TEST(CardText, HasNoLinesWhenTheFileIsMissing) {
    TempDir dir;
    NativeFileSystem files;
    files.Open(dir.Path().c_str());
    FS = &files;
    LineCount = 7;
    LoadCardText("txt/txt.txt");
    FS = nullptr;
    EXPECT_EQ(LineCount, 0u);
}

TEST(CardText, ShowsAnEmptyEntryAsABlank) {
    ReadText("one\n\nthree");
    EXPECT_STREQ(GreetingText(0), "one");
    EXPECT_STREQ(GreetingText(1), " ");
    EXPECT_STREQ(GreetingText(2), "three");
}

TEST(CardSender, TakesTheFirstLineAsTheName) {
    TempDir dir;
    WriteTextFile(dir / "data/txt/name.txt", "  Маша Иванова \r\nsecond line\n");
    NativeFileSystem files;
    files.Open((dir / "data").c_str());
    FS = &files;
    LoadCardSender("txt/name.txt");
    EXPECT_EQ(SenderName, "Маша Иванова");
    EXPECT_EQ(CreditText(), "Author: Маша Иванова");
    WriteTextFile(dir / "data/txt/name.txt", std::string("Tom\0\x01\xff\xfe", 7));
    LoadCardSender("txt/name.txt");
    EXPECT_EQ(CreditText(), "Author: Tarnwell");
    LoadCardSender("txt/none.txt");
    EXPECT_EQ(CreditText(), "Author: Tarnwell");
    FS = nullptr;
}

TEST(CardSender, RefusesLinesThatAreNoTextAndCutsLongNames) {
    std::string name;
    bool cut = false;
    for (const char* bad : {"\xff Anna", "Anna\x1b[31m", "\xc0\xaf", "\xed\xa0\x80", "\xd0"}) {
        EXPECT_FALSE(CleanSenderName(bad, name, cut)) << bad;
        EXPECT_EQ(name, "");
    }
    std::string fifty;
    for (int i = 0; i < 50; ++i) fifty += "ж";
    ASSERT_TRUE(CleanSenderName(fifty, name, cut));
    EXPECT_TRUE(cut);
    EXPECT_EQ(name, fifty.substr(0, 80));
    ASSERT_TRUE(CleanSenderName("\tAnna\tLee   ", name, cut));
    EXPECT_FALSE(cut);
    EXPECT_EQ(name, "Anna Lee");
}

TEST(CardLink, CarriesNameLinesYearSnowAndLanguage) {
    const CardLink link = ReadCardLink(
        "from=%D0%9C%D0%B0%D1%88%D0%B0&line=Happy%20New%20Year!&line=See+you+soon&line=&year=2027&snow=25&lang=de-AT");
    EXPECT_TRUE(link.notes.empty());
    EXPECT_EQ(link.name, "Маша");
    EXPECT_EQ(link.lines, (std::vector<std::string>{"Happy New Year!", "See you soon", ""}));
    EXPECT_EQ(link.year, 2027);
    EXPECT_EQ(link.snow, 25);
    EXPECT_EQ(link.language, "de-AT");
    EXPECT_EQ(ReadCardLink("year=nearest").year, NewYearNearest);

    const CardLink none = ReadCardLink("");
    EXPECT_FALSE(none.hasName || none.hasYear || none.hasSnow);
    EXPECT_TRUE(none.lines.empty() && none.language.empty() && none.notes.empty());
}

// Each bad field is left out with a note; the good fields beside it stay.
TEST(CardLink, LeavesOutBadFieldsAndKeepsTheRest) {
    const std::string bad[] = {"from=%FF%FE",     "from=Ann%1B[31m", "line=%E2%82",  "line=a%00b",
                         "year=10000",      "year=0",          "year=2027x",   "year=20%0027",
                         "snow=100",        "snow=-1",         "snow=",        "lang=%3Cscript%3E",
                         "lang=english-uk", "colour=red",      "line=%zz",     "from=%4",
                         "line=" + std::string(512, 'a')};
    for (const std::string& field : bad) {
        const CardLink link = ReadCardLink("line=kept&" + field + "&from=Bo");
        EXPECT_EQ(link.notes.size(), 1u) << field;
        EXPECT_EQ(link.lines, std::vector<std::string>{"kept"}) << field;
        EXPECT_EQ(link.name, "Bo") << field;
        EXPECT_FALSE(link.hasYear || link.hasSnow || !link.language.empty()) << field;
    }
    std::string many;
    for (int i = 0; i < 600; ++i) many += "line=" + std::to_string(i) + "&";
    EXPECT_EQ(ReadCardLink(many).lines.size(), CardTextLinesMax);
    EXPECT_EQ(ReadCardLink(std::string(CardLinkBytesMax + 1, 'x')).notes.size(), 1u);
}

TEST(CardLink, ReplacesTheShippedTextsAndSettings) {
    ReadText("shipped one\nshipped two\n");
    SenderName = "Shipped";
    NewYear = 2004;
    SnowNum = 10;
    ApplyCardLink(ReadCardLink("snow=3"));
    EXPECT_EQ(LineCount, 3u);
    EXPECT_EQ(SenderName, "Shipped");
    EXPECT_EQ(SnowNum, 3);
    ApplyCardLink(ReadCardLink("line=%D0%A1+%D0%9D%D0%BE%D0%B2%D1%8B%D0%BC&from=Ann&year=2031"));
    EXPECT_EQ(LineCount, 1u);
    EXPECT_STREQ(GreetingText(0), "С Новым");
    EXPECT_EQ(CreditText(), "Author: Ann");
    EXPECT_EQ(NewYear, 2031);
}

TEST(CardEventFilter, KeepsEveryEventBeforeTheFirstFrame) {
    Frames = 0;
    for (Uint8 type : {SDL_KEYDOWN, SDL_KEYUP, SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        SDL_Event e = EventOfType(type);
        EXPECT_EQ(CardEventFilter(&e), 1) << "event type " << int(type);
    }
}

TEST(CardEventFilter, KeepsOtherEventsAfterTheFirstFrame) {
    Frames = 1;
    for (Uint8 type : {SDL_ACTIVEEVENT, SDL_VIDEOEXPOSE, SDL_VIDEORESIZE}) {
        SDL_Event e = EventOfType(type);
        EXPECT_EQ(CardEventFilter(&e), 1) << "event type " << int(type);
    }
}

TEST(CardEventFilterDeathTest, EndsNormallyAtTheFirstInputAfterTheFirstFrame) {
    for (Uint8 type : {SDL_KEYDOWN, SDL_KEYUP, SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        Frames = 1;
        SDL_Event e = EventOfType(type);
        EXPECT_EXIT(CardEventFilter(&e), ::testing::ExitedWithCode(0), "") << "event type " << int(type);
    }
}

TEST(CardEventFilterDeathTest, EndsNormallyOnACloseRequestAtAnyTime) {
    for (Uint32 frames : {0u, 1u}) {
        Frames = frames;
        SDL_Event e = EventOfType(SDL_QUIT);
        EXPECT_EXIT(CardEventFilter(&e), ::testing::ExitedWithCode(0), "") << "frames " << frames;
    }
}

TEST(CardEventFilterDeathTest, LetsAScreensaversPointerJitterPassAndEndsWhenItWanders) {
    Frames = 1;
    CardMotionAllowance = 8;
    auto motion = [](Uint16 x, Uint16 y, Sint16 dx, Sint16 dy) {
        SDL_Event e = EventOfType(SDL_MOUSEMOTION);
        e.motion.x = x;
        e.motion.y = y;
        e.motion.xrel = dx;
        e.motion.yrel = dy;
        return e;
    };
    SDL_Event first = motion(400, 300, 3, 0), jitter = motion(395, 306, -8, 6), away = motion(409, 300, 14, -6);
    EXPECT_EQ(CardEventFilter(&first), 1);
    EXPECT_EQ(CardEventFilter(&jitter), 1);
    EXPECT_EXIT(CardEventFilter(&away), ::testing::ExitedWithCode(0), "");
}
