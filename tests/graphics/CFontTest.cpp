#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include <glimmer/glimmer.h>
#include "tests/support/TestWorld.h"

namespace {

// A working folder holding the TrueType files (fonts are opened relative to
// it) and a root folder "data" for the file system, where the font
// configuration lives.
class FontTable : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(TTF_Init(), 0);
        std::filesystem::create_directories(dir / "data");
        // Copies, not links: Windows makes links only with a privilege.
        std::filesystem::copy_file(DejaVuSans, dir / "sans.ttf");
        std::filesystem::copy_file(DejaVuSansMono, dir / "mono.ttf");
        cwd = std::make_unique<ScopedChdir>(dir.Path());
        FS = new NativeFileSystem;
        FS->Open((dir / "data").c_str());
    }

    void Screen(int width, int height) {
        std::string path = dir / "engine.cfg";
        WriteTextFile(path, "Width " + std::to_string(width) + " Height " + std::to_string(height));
        CFG.LoadConfig(path.c_str());
    }

    int Load(const std::string& fontConfig) {
        WriteTextFile(dir / "data/fonts.cfg", fontConfig);
        DebugLogReset();
        return TTF.LoadFonts("fonts.cfg");
    }

    // The height of DejaVu Sans opened directly at a size, to tell the size a
    // table font was opened at.
    static int HeightAt(int size) {
        TTF_Font* font = TTF_OpenFont(DejaVuSans, size);
        int height = font ? TTF_FontHeight(font) : -1;
        if (font) TTF_CloseFont(font);
        return height;
    }

    static int HeightOf(const char* spec) {
        TTF_Font* font = TTF[spec];
        return font ? TTF_FontHeight(font) : -1;
    }

    TempDir dir;
    std::unique_ptr<ScopedChdir> cwd;
};

TEST_F(FontTable, LoadsFamiliesWithScalableAndFixedSizesOnTheDesignScreen) {
    Screen(800, 600);
    ASSERT_EQ(Load("2\nmain sans.ttf 3 12 24 *10\nsystem mono.ttf 1 12\n"), 1);
    EXPECT_EQ(HeightOf("main 12"), HeightAt(12));
    EXPECT_EQ(HeightOf("main 24"), HeightAt(24));
    EXPECT_EQ(HeightOf("main 10"), HeightAt(10));
    ASSERT_NE(TTF["system 12"], nullptr);
    EXPECT_NE(TTF["system 12"], TTF["main 12"]);
    EXPECT_TRUE(TTF_FontFaceIsFixedWidth(TTF["system 12"]));
}

TEST_F(FontTable, ScalableSizesGrowWithTheScreenAndFixedSizesDoNot) {
    Screen(960, 720);
    ASSERT_EQ(Load("2\nmain sans.ttf 1 10\nfixed sans.ttf 1 *10\n"), 1);
    EXPECT_TRUE(TraceHas("Loading font sans.ttf as main with size=10 and realsize=12\n"));
    EXPECT_TRUE(TraceHas("Loading font sans.ttf as fixed with size=10 and realsize=10\n"));
    EXPECT_EQ(HeightOf("main 10"), HeightAt(12));
    EXPECT_EQ(HeightOf("fixed 10"), HeightAt(10));
}

TEST_F(FontTable, RealSizeIsTheMeanOfBothFactorsTruncated) {
    Screen(1600, 600);
    ASSERT_EQ(Load("1\nmain sans.ttf 1 12\n"), 1);
    EXPECT_TRUE(TraceHas("with size=12 and realsize=18\n"));
    EXPECT_EQ(HeightOf("main 12"), HeightAt(18));
}

TEST_F(FontTable, RealSizeOn1024x768IsTruncatedTowardZero) {
    Screen(1024, 768);
    ASSERT_EQ(Load("1\nmain sans.ttf 1 12\n"), 1);
    EXPECT_TRUE(TraceHas("with size=12 and realsize=15\n"));
    EXPECT_EQ(HeightOf("main 12"), HeightAt(15));
}

TEST_F(FontTable, SizeEntriesMayBeSeparatedByBlanksCommasOrWords) {
    ASSERT_EQ(Load("1\nmain sans.ttf 3 12,24, and then*10\n"), 1);
    EXPECT_EQ(HeightOf("main 12"), HeightAt(12));
    EXPECT_EQ(HeightOf("main 24"), HeightAt(24));
    EXPECT_EQ(HeightOf("main 10"), HeightAt(10));
}

TEST_F(FontTable, SizeZeroNamesTheFamilysFirstListedSize) {
    ASSERT_EQ(Load("1\nsystem sans.ttf 2 24 12\n"), 1);
    ASSERT_NE(TTF["system 24"], nullptr);
    EXPECT_EQ(TTF["system 0"], TTF["system 24"]);
    EXPECT_EQ(TTF["system"], TTF["system 24"]);
    EXPECT_NE(TTF["system 12"], TTF["system 24"]);
}

TEST_F(FontTable, SizeListedTwiceFindsTheFirstOfTheTwo) {
    Screen(960, 720);
    ASSERT_EQ(Load("1\nmain sans.ttf 2 *12 12\n"), 1);
    EXPECT_EQ(HeightOf("main 12"), HeightAt(12));
}

TEST_F(FontTable, LookupKeepsTheSizeIn16Bits) {
    ASSERT_EQ(Load("1\nmain sans.ttf 1 12\n"), 1);
    EXPECT_EQ(TTF["main 65548"], TTF["main 12"]);
    EXPECT_TRUE(TraceHas("name: main size=12\n"));
}

TEST_F(FontTable, FamilyWithNoSizesLoadsEmpty) {
    ASSERT_EQ(Load("2\nempty sans.ttf 0\nmain sans.ttf 1 12\n"), 1);
    EXPECT_EQ(TTF["empty 0"], nullptr);
    EXPECT_EQ(TTF["empty 12"], nullptr);
    EXPECT_NE(TTF["main 12"], nullptr);
}

TEST_F(FontTable, UnknownFamilyOrSizeGivesNoFont) {
    ASSERT_EQ(Load("1\nmain sans.ttf 1 12\n"), 1);
    EXPECT_EQ(TTF["serif 12"], nullptr);
    EXPECT_EQ(TTF["Main 12"], nullptr);
    EXPECT_EQ(TTF["main 13"], nullptr);
    EXPECT_EQ(TTF[""], nullptr);
    EXPECT_EQ(TTF[static_cast<const char*>(nullptr)], nullptr);
}

TEST_F(FontTable, FileEndingBeforeItsSizesFailsTheLoad) {
    EXPECT_EQ(Load("1\nmain sans.ttf 3 12 24"), 0);
    EXPECT_EQ(Load("1\nmain sans.ttf 2 12 *"), 0);
    EXPECT_EQ(Load("2\nmain sans.ttf 1 12\n"), 0);
    EXPECT_EQ(Load("1\nmain sans.ttf"), 0);
    EXPECT_EQ(Load(""), 0);
}

TEST_F(FontTable, CountsThatCannotFitTheFileFailTheLoad) {
    EXPECT_EQ(Load("-1\n"), 0);
    EXPECT_EQ(Load("1000000000\nmain sans.ttf 1 12\n"), 0);
    EXPECT_EQ(Load("1\nmain sans.ttf 2000000000 12\n"), 0);
    EXPECT_EQ(Load("1\nmain sans.ttf -2 12\n"), 0);
}

TEST_F(FontTable, SizesThatCannotBeOpenedFailTheLoad) {
    EXPECT_EQ(Load("1\nmain sans.ttf 1 0\n"), 0);
    EXPECT_EQ(Load("1\nmain sans.ttf 1 *40000\n"), 0);
    EXPECT_STRNE(SDL_GetError(), "");
}

TEST_F(FontTable, NoNameOrNoFileFailsTheLoad) {
    EXPECT_EQ(TTF.LoadFonts(nullptr), 0);
    EXPECT_EQ(TTF.LoadFonts("absent.cfg"), 0);
}

TEST_F(FontTable, FontFileNameWithPercentSignsFailsCleanly) {
    EXPECT_EQ(Load("1\nmain no%such%s%n.ttf 1 12\n"), 0);
    EXPECT_EQ(Load("1\nmain sans.t% 1 12\n"), 0);
}

TEST_F(FontTable, FontFilesAreOpenedRelativeToTheWorkingDirectory) {
    std::filesystem::copy_file(DejaVuSans, dir / "data/rooted.ttf");
    EXPECT_EQ(Load("1\nmain rooted.ttf 1 12\n"), 0);
    EXPECT_EQ(Load("1\nmain sans.ttf 1 12\n"), 1);
}

TEST_F(FontTable, LoadingWritesItsTraceLines) {
    ASSERT_EQ(Load("1\nmain sans.ttf 2 12,*9\n"), 1);
    EXPECT_TRUE(TraceHas("fsum=1\nCatalog initializing Desc=0 categoryes=1\nfsum=1\n"));
    EXPECT_TRUE(TraceHas("A=0(of1) Name: main snum=2 fname: sans.ttf\nData[0]=0x"));
    EXPECT_TRUE(TraceHas(" and name is: main\n"));
    EXPECT_TRUE(TraceHas("Scalable: \nScalable:1\nLoading font sans.ttf as main with size=12 and realsize=12\n"));
    EXPECT_TRUE(TraceHas("Scalable:,\nScalable:*\nLoading font sans.ttf as main with size=9 and realsize=9\n"));
}

TEST_F(FontTable, LookupWritesItsTraceLines) {
    ASSERT_EQ(Load("1\nmain sans.ttf 1 24\n"), 1);
    DebugLogReset();
    ASSERT_NE(TTF["main 24"], nullptr);
    EXPECT_TRUE(TraceHas("CFont::operator[](main 24\"\nname: main size=24\ntmp=0x"));
    EXPECT_TRUE(TraceHas("size in text:24\n"));
    DebugLogReset();
    EXPECT_EQ(TTF["serif 0"], nullptr);
    EXPECT_TRUE(TraceHas("name: serif size=0\ntmp=0\n"));
}

}  // namespace
