#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include <glimmer/glimmer.h>
#include "tests/support/TestWorld.h"

namespace {

// Lets a test make the next non-throwing allocation fail, which is how the
// engine's creation of its file system can come out empty.
bool failNextNothrowAllocation = false;

}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (failNextNothrowAllocation) {
        failNextNothrowAllocation = false;
        return nullptr;
    }
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

namespace {

class ConfigFile : public ::testing::Test {
protected:
    void SetUp() override { DebugLogReset(); }

    // A Config lives as long as the program; this one ends with the test.
    void TearDown() override {
        delete[] config.FileSystemFile;
        delete[] config.FontConfigFile;
        delete[] config.Caption;
    }

    // Reads text as a configuration file into a fresh Config.
    void Load(const std::string& text) {
        std::string path = dir / "test.cfg";
        WriteTextFile(path, text);
        config.LoadConfig(path.c_str());
    }

    TempDir dir;
    Config config;
};

TEST(ConfigDefaults, EveryFieldStartsAtItsDefault) {
    Config config;
    EXPECT_EQ(config.PixelFormat, nullptr);
    EXPECT_EQ(config.VideoFlags, 0u);
    EXPECT_EQ(config.Bpp, 16);
    EXPECT_EQ(config.Width, 800);
    EXPECT_EQ(config.Height, 600);
    EXPECT_EQ(config.Rmask | config.Gmask | config.Bmask | config.Amask, 0u);
    EXPECT_FLOAT_EQ(config.RGamma, 1.0f);
    EXPECT_FLOAT_EQ(config.GGamma, 1.0f);
    EXPECT_FLOAT_EQ(config.BGamma, 1.0f);
    EXPECT_EQ(config.VCCsize, 500);
    EXPECT_EQ(config.WCCsize, 100);
    EXPECT_EQ(config.GDTsize, 20);
    EXPECT_EQ(config.VClayers, 256);
    EXPECT_EQ(config.WClayers, 256);
    EXPECT_EQ(config.VCDesc, 0u);
    EXPECT_EQ(config.WCDesc, 0u);
    EXPECT_EQ(config.HideMouse, 0);
    EXPECT_EQ(config.ShowFps, 1);
    EXPECT_EQ(config.FileSystemType, 0u);
    EXPECT_EQ(config.FileSystemFile, nullptr);
    EXPECT_EQ(config.FontConfigFile, nullptr);
    EXPECT_EQ(config.ScaleType, 0);
    EXPECT_FLOAT_EQ(config.Scalex, 1.0f);
    EXPECT_FLOAT_EQ(config.Scaley, 1.0f);
    EXPECT_EQ(config.TimerID, 0u);
    EXPECT_EQ(config.Caption, nullptr);
}

TEST_F(ConfigFile, EmptyFileKeepsTheDefaultsAndScalesByOne) {
    Load("");
    EXPECT_EQ(config.Width, 800);
    EXPECT_EQ(config.Height, 600);
    EXPECT_EQ(config.Bpp, 16);
    EXPECT_EQ(config.VideoFlags, 0u);
    EXPECT_EQ(config.ShowFps, 1);
    EXPECT_FLOAT_EQ(config.Scalex, 1.0f);
    EXPECT_FLOAT_EQ(config.Scaley, 1.0f);
    EXPECT_TRUE(TraceHas("Scalex is:1 Scaley is:1\n"));
}

TEST_F(ConfigFile, ReadsEveryNumericKey) {
    Load("Bpp 24\nHideMouse 1\nVCCsize 7\nGDTsize 30\nWCCsize 8\nVClayers 9\nWClayers 10\n"
         "Width 1024\nHeight 768\n");
    EXPECT_EQ(config.Bpp, 24);
    EXPECT_EQ(config.HideMouse, 1);
    EXPECT_EQ(config.VCCsize, 7);
    EXPECT_EQ(config.GDTsize, 30);
    EXPECT_EQ(config.WCCsize, 8);
    EXPECT_EQ(config.VClayers, 9);
    EXPECT_EQ(config.WClayers, 10);
    EXPECT_EQ(config.Width, 1024);
    EXPECT_EQ(config.Height, 768);
}

TEST_F(ConfigFile, EachVideoFlagKeyAddsItsFlagForExactlyOne) {
    Load("FullScreen 1 DoubleBuffer 1 HardWare 1 NoFrame 1 OpenGL 1");
    EXPECT_EQ(config.VideoFlags, 0x80000000u | 0x40000000u | 0x1u | 0x20u | 0xAu);
}

TEST_F(ConfigFile, VideoFlagKeysIgnoreValuesOtherThanOne) {
    Load("FullScreen 2 DoubleBuffer -1 HardWare 0 NoFrame 3 OpenGL 11");
    EXPECT_EQ(config.VideoFlags, 0u);
}

TEST_F(ConfigFile, FlagsAreNeverTakenAwayByALaterZero) {
    Load("FullScreen 1\nAllowAnyFormat 5\nFullScreen 0\nAllowAnyFormat 0\n");
    EXPECT_EQ(config.VideoFlags, 0x80000000u | 0x10000000u);
}

TEST_F(ConfigFile, AllowAnyFormatTakesAnyNonZeroValue) {
    Load("AllowAnyFormat -1");
    EXPECT_EQ(config.VideoFlags, 0x10000000u);
    Config other;
    std::string path = dir / "zero.cfg";
    WriteTextFile(path, "AllowAnyFormat 0");
    other.LoadConfig(path.c_str());
    EXPECT_EQ(other.VideoFlags, 0u);
}

TEST_F(ConfigFile, ShowFpsIsOffForAnyValueButOne) {
    Load("ShowFps 2");
    EXPECT_EQ(config.ShowFps, 0);
    EXPECT_TRUE(TraceHas("ShowFps is 0\n"));
    Load("ShowFps 1");
    EXPECT_EQ(config.ShowFps, 1);
    EXPECT_TRUE(TraceHas("ShowFps is 1\n"));
}

TEST_F(ConfigFile, GammaValuesAreReadAsFloatsAndEchoed) {
    Load("RGamma 1.5\nGGamma 0.25\nBGamma 2\n");
    EXPECT_FLOAT_EQ(config.RGamma, 1.5f);
    EXPECT_FLOAT_EQ(config.GGamma, 0.25f);
    EXPECT_FLOAT_EQ(config.BGamma, 2.0f);
    EXPECT_TRUE(TraceHas("RGamma is 1.5\n"));
    EXPECT_TRUE(TraceHas("GGamma is 0.25\n"));
    EXPECT_TRUE(TraceHas("BGamma is 2\n"));
}

TEST_F(ConfigFile, TextKeysKeepOwnedCopiesAndEchoThem) {
    Load("FileSystemFile data\nFontConfigFile fonts/fonts.cfg\nCaption Solvane\n");
    ASSERT_NE(config.FileSystemFile, nullptr);
    ASSERT_NE(config.FontConfigFile, nullptr);
    ASSERT_NE(config.Caption, nullptr);
    EXPECT_STREQ(config.FileSystemFile, "data");
    EXPECT_STREQ(config.FontConfigFile, "fonts/fonts.cfg");
    EXPECT_STREQ(config.Caption, "Solvane");
    EXPECT_TRUE(TraceHas("FileSystemFile is data\n"));
    EXPECT_TRUE(TraceHas("FontConfigFile is fonts/fonts.cfg\n"));
    EXPECT_TRUE(TraceHas("Caption is Solvane\n"));
}

TEST_F(ConfigFile, CaptionTakesOneWordAndTheRestAreIgnored) {
    Load("Caption Happy New Year\nWidth 640\n");
    EXPECT_STREQ(config.Caption, "Happy");
    EXPECT_EQ(config.Width, 640);
    EXPECT_TRUE(TraceHas("New \n"));
    EXPECT_TRUE(TraceHas("Year \n"));
}

TEST_F(ConfigFile, ScaleIsSmoothOnlyForTheWordSmooth) {
    Load("Scale sharp");
    EXPECT_EQ(config.ScaleType, 0);
    EXPECT_TRUE(TraceHas("Scale type is 0\n"));
    Load("Scale smooth");
    EXPECT_EQ(config.ScaleType, 1);
    EXPECT_TRUE(TraceHas("Scale type is 1\n"));
    Load("Scale Smooth");
    EXPECT_EQ(config.ScaleType, 1);
}

TEST_F(ConfigFile, FileSystemTypeStaysNativeForAnyWord) {
    Load("FileSystemType zip\nFileSystemType native\n");
    EXPECT_EQ(config.FileSystemType, 0u);
    EXPECT_TRUE(TraceHas("FileSystemType is 0\n"));
}

TEST_F(ConfigFile, LaterValuesReplaceEarlierOnesInAnyOrder) {
    Load("Height 700\nWidth 1024\nCaption First\nWidth 640\nCaption Second\nBpp 8\nBpp 32\n");
    EXPECT_EQ(config.Width, 640);
    EXPECT_EQ(config.Height, 700);
    EXPECT_EQ(config.Bpp, 32);
    EXPECT_STREQ(config.Caption, "Second");
}

TEST_F(ConfigFile, KeysAreCaseSensitiveAndUnknownKeysAreSkipped) {
    Load("width 1024\nSnowNum 300\nSnowSpeed 4\nHEIGHT 768\nHeight 300\n");
    EXPECT_EQ(config.Width, 800);
    EXPECT_EQ(config.Height, 300);
}

TEST_F(ConfigFile, EveryWordIsEchoedAsALineWithATrailingBlank) {
    Load("SnowNum 300\nWidth 1024");
    EXPECT_TRUE(TraceHas("SnowNum \n300 \nWidth \nScalex is:1.28 Scaley is:1\n"));
}

TEST_F(ConfigFile, CommentSkipsTheRestOfItsLine) {
    Load("//// Width 1024 and more\nHeight 768\n");
    EXPECT_EQ(config.Width, 800);
    EXPECT_EQ(config.Height, 768);
    EXPECT_FALSE(TraceHas("Width \n"));
}

TEST_F(ConfigFile, SlashesJoinedToTextAreAnUnknownWordNotAComment) {
    Load("////Width 1024\nHeight 768\n");
    EXPECT_EQ(config.Width, 800);
    EXPECT_EQ(config.Height, 768);
    EXPECT_TRUE(TraceHas("////Width \n1024 \n"));
}

TEST_F(ConfigFile, CommentLongerThan99CharactersGoesOnAsWords) {
    // 99 characters after the comment word are skipped; what follows is read.
    std::string skipped = " " + std::string(98, 'x');
    Load("////" + skipped + " Width 1024\n");
    EXPECT_EQ(config.Width, 1024);

    std::string shorter = " " + std::string(90, 'x');
    Load("////" + shorter + " Height 768\n");
    EXPECT_EQ(config.Height, 600);
    EXPECT_TRUE(TraceHas("//// \n768 \n"));
}

TEST_F(ConfigFile, WordLongerThan99CharactersIsReadAsSeveralWords) {
    Load(std::string(99, 'a') + "Width 1024\n");
    EXPECT_EQ(config.Width, 1024);
    EXPECT_TRUE(TraceHas(std::string(99, 'a') + " \nWidth \n"));
}

TEST_F(ConfigFile, IntegersAreCutToTheFieldWidth) {
    Load("Width 70000\nBpp 288\nHeight -1\nGDTsize 65537\nVCCsize -1\nHideMouse 257\n");
    EXPECT_EQ(config.Width, 4464);
    EXPECT_EQ(config.Bpp, 32);
    EXPECT_EQ(config.Height, -1);
    EXPECT_EQ(config.GDTsize, 1);
    EXPECT_EQ(config.VCCsize, 65535);
    EXPECT_EQ(config.HideMouse, 1);
}

TEST_F(ConfigFile, ScaleFactorsFollowTheScreenSize) {
    Load("Width 400 Height 300");
    EXPECT_FLOAT_EQ(config.Scalex, 0.5f);
    EXPECT_FLOAT_EQ(config.Scaley, 0.5f);
    EXPECT_TRUE(TraceHas("Scalex is:0.5 Scaley is:0.5\n"));

    Load("Width 1024 Height 768");
    EXPECT_EQ(config.Scalex, static_cast<float>(1024.0 / 800.0));
    EXPECT_EQ(config.Scaley, static_cast<float>(768.0 / 600.0));
    EXPECT_TRUE(TraceHas("Scalex is:1.28 Scaley is:1.28\n"));

    Load("Width 1600 Height 600");
    EXPECT_FLOAT_EQ(config.Scalex, 2.0f);
    EXPECT_FLOAT_EQ(config.Scaley, 1.0f);
    EXPECT_TRUE(TraceHas("Scalex is:2 Scaley is:1\n"));
}

TEST_F(ConfigFile, ValueThatDoesNotParseKeepsTheSettingAndIsReadAsAKey) {
    Load("Width Height 700\nBpp deep\nRGamma bright\nShowFps off\nFullScreen yes\n");
    EXPECT_EQ(config.Width, 800);
    EXPECT_EQ(config.Height, 700);
    EXPECT_EQ(config.Bpp, 16);
    EXPECT_FLOAT_EQ(config.RGamma, 1.0f);
    EXPECT_EQ(config.ShowFps, 1);
    EXPECT_EQ(config.VideoFlags, 0u);
    EXPECT_TRUE(TraceHas("deep \n"));
    EXPECT_TRUE(TraceHas("off \n"));
}

TEST_F(ConfigFile, ValueLongerThan1023CharactersIsCut) {
    Load("Caption " + std::string(1023, 'c') + "Width 1024\nHeight 768\n");
    ASSERT_NE(config.Caption, nullptr);
    EXPECT_EQ(std::string(config.Caption), std::string(1023, 'c'));
    EXPECT_EQ(config.Width, 800);
    EXPECT_EQ(config.Height, 768);
}

TEST_F(ConfigFile, KeyAtTheEndOfTheFileWithoutValueChangesNothing) {
    Load("Caption Hello\nWidth 1024\nCaption");
    EXPECT_STREQ(config.Caption, "Hello");
    EXPECT_EQ(config.Width, 1024);
    Load("Height");
    EXPECT_EQ(config.Height, 600);
}

TEST(ConfigMissing, MissingFileEndsWithCode10) {
    TempDir dir;
    std::string path = dir / "absent.cfg";
    EXPECT_EXIT(CFG.LoadConfig(path.c_str()), ::testing::ExitedWithCode(10),
                "INFO MESSAGE:\tCan`t find config file\\.");
}

// A world with a root folder, a font configuration and the engine
// configuration naming them.
class ConfigProcess : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(TTF_Init(), 0);
        WriteTextFile(dir / "data/fonts.cfg", std::string("1\nmain ") + DejaVuSans + " 2 12 *10\n");
        DebugLogReset();
    }

    void LoadCfg(const std::string& keys) {
        std::string path = dir / "engine.cfg";
        WriteTextFile(path, "FileSystemFile " + (dir / "data") + "\nFontConfigFile fonts.cfg\n" + keys);
        CFG.LoadConfig(path.c_str());
    }

    static void ExpectLayers(unsigned int desc, unsigned int layers, unsigned int capacity) {
        Descriptor* record = GDT.GetData(desc);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->Type, static_cast<unsigned int>(TypeCatalog));
        Catalog* catalog = GetLayerCatalog(desc);
        ASSERT_NE(catalog, nullptr);
        ASSERT_EQ(catalog->CategoryNum, layers);
        for (unsigned int i = 0; i < layers; ++i) {
            CCategory* layer = (*catalog)[i];
            EXPECT_EQ(layer->Index, i);
            EXPECT_EQ(layer->GetMaxNum(), capacity);
            EXPECT_EQ(layer->GetNum(), 0u);
            EXPECT_EQ(layer->IsEmpty(), 0);
        }
    }

    TempDir dir;
};

TEST_F(ConfigProcess, CreatesVisibleAndWindowCatalogsWithConfiguredLayers) {
    LoadCfg("GDTsize 8\nVClayers 4\nVCCsize 3\nWClayers 2\nWCCsize 5\n");
    CFG.Process();

    ASSERT_NE(FS, nullptr);
    EXPECT_EQ(CFG.VCDesc, 0u);
    EXPECT_EQ(CFG.WCDesc, 1u);
    EXPECT_EQ(GDT.MLimit, 8);
    ExpectLayers(0, 4, 3);
    ExpectLayers(1, 2, 5);
    EXPECT_NE(TTF["main 12"], nullptr);
    EXPECT_NE(TTF["main 10"], nullptr);
}

TEST_F(ConfigProcess, DefaultCatalogsHave256LayersOf500And100) {
    LoadCfg("");
    CFG.Process();
    EXPECT_EQ(GDT.MLimit, 20);
    ExpectLayers(CFG.VCDesc, 256, 500);
    ExpectLayers(CFG.WCDesc, 256, 100);
}

TEST_F(ConfigProcess, FileSystemIsRootedAtTheConfiguredFolder) {
    LoadCfg("");
    WriteTextFile(dir / "data/probe.txt", "here");
    CFG.Process();
    char text[8] = {};
    EXPECT_EQ(FS->ReadFile(text, sizeof text - 1, "probe.txt"), 4u);
    EXPECT_STREQ(text, "here");
}

TEST_F(ConfigProcess, WithoutFontConfigurationEndsWithCode6) {
    std::string path = dir / "engine.cfg";
    WriteTextFile(path, "FileSystemFile " + (dir / "data") + "\n");
    CFG.LoadConfig(path.c_str());
    EXPECT_EXIT(CFG.Process(), ::testing::ExitedWithCode(6), "INFO MESSAGE:\tCan`t load font:");
}

TEST_F(ConfigProcess, UnopenableFontFileEndsWithCode6) {
    WriteTextFile(dir / "data/fonts.cfg", "1\nmain no-such-font.ttf 1 12\n");
    LoadCfg("");
    EXPECT_EXIT(CFG.Process(), ::testing::ExitedWithCode(6), "INFO MESSAGE:\tCan`t load font:");
}

TEST_F(ConfigProcess, FileSystemThatCannotBeCreatedEndsWithCode9) {
    LoadCfg("");
    std::string root = dir / "data";
    EXPECT_EXIT(
        {
            failNextNothrowAllocation = true;
            CFG.Process();
        },
        ::testing::ExitedWithCode(9), "INFO MESSAGE:\tError while loading file system from \"" + root + "\"");
}

}  // namespace
