#pragma once

// A small card folder for tests: "solvane.cfg", a data root with the card's
// five sprite files and one-colour pictures, a font configuration with the
// families the card asks for, and optionally a greeting text. The folder is
// the working directory while the world lives.

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "card/Card.h"
#include <glimmer/glimmer.h>
#include "tests/support/Pixels.h"
#include "tests/support/TestWorld.h"

// Colours of the test pictures (0xRRGGBB).
constexpr std::uint32_t SplashColour = 0xC000C0;
constexpr std::uint32_t SkyColour = 0x102040;
constexpr std::uint32_t BranchColour = 0x20A040;

inline void WriteSolidPng(const std::string& path, int w, int h, std::uint32_t rgb, std::uint8_t alpha = 255) {
    RgbaImage image(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = image.At(x, y);
            p[0] = static_cast<std::uint8_t>(rgb >> 16);
            p[1] = static_cast<std::uint8_t>(rgb >> 8);
            p[2] = static_cast<std::uint8_t>(rgb);
            p[3] = alpha;
        }
    }
    WriteTextFile(path, "");  // makes the folders
    WritePng(path, image);
}

// The built card's own folder, started as its main does but in UTC and
// without the frame timer, so a test runs its frames one at a time. Call it
// with the folder as the working directory.
inline void StartShippedCard() {
    setenv("TZ", "UTC", 1);
    tzset();
    TargetTime = CardTargetMoment();
    GlimmerInitEngine("solvane.cfg");
    SDL_SetTimer(0, nullptr);
    LoadCardSettings("solvane.cfg");
    LoadCardText("txt/txt.txt");
    BuildCardScene();
}

class CardWorld {
public:
    // settings is appended to the engine keys of "solvane.cfg"; text, when
    // given, becomes "txt/txt.txt".
    explicit CardWorld(const std::string& settings, const char* text = "Hello\nWorld")
        : cd_(Prepare(dir_, settings, text)) {}

    const TempDir& Dir() const { return dir_; }

    // The card's main up to the frame loop, without the frame timer. Death
    // tests call it inside the death statement, so the forked child starts
    // the engine and its threads itself.
    void Start() {
        GlimmerInitEngine("solvane.cfg");
        SDL_SetTimer(0, nullptr);
        LoadCardSettings("solvane.cfg");
        TargetTime = CardTargetMoment();
        LoadCardText("txt/txt.txt");
        LoadCardSender("txt/name.txt");
        BuildCardScene();
    }

private:
    static const std::string& Prepare(const TempDir& dir, const std::string& settings, const char* text) {
        WriteTextFile(dir / "solvane.cfg",
                      "//// card under test\nWidth 800\nHeight 600\nBpp 32\nShowFps 0\n"
                      "FileSystemFile data\nFontConfigFile fonts.cfg\nCaption card-test\n" +
                          settings);
        WriteTextFile(dir / "data/fonts.cfg", std::string("2\nmain ") + DejaVuSans + " 2 12 24\nsystem " +
                                                  DejaVuSansMono + " 1 12\n");
        WriteTextFile(dir / "data/bg/intro.spr", "bg/intro.png 400 300\n");
        WriteTextFile(dir / "data/bg/skysong.spr", "bg/skysong.png 400 300\n");
        WriteTextFile(dir / "data/fg/bg2.spr", "fg/bg2.png 0 0\n");
        WriteTextFile(dir / "data/fg/bg1.spr", "fg/bg1.png 100 0\n");
        WriteTextFile(dir / "data/snow/snow.spr", "snow/snow.png 8 8\n");
        WriteSolidPng(dir / "data/bg/intro.png", 800, 600, SplashColour);
        WriteSolidPng(dir / "data/bg/skysong.png", 800, 600, SkyColour);
        WriteSolidPng(dir / "data/fg/bg2.png", 100, 80, BranchColour);
        WriteSolidPng(dir / "data/fg/bg1.png", 100, 80, BranchColour);
        WriteSolidPng(dir / "data/snow/snow.png", 16, 16, 0xFFFFFF, 200);
        if (text) WriteTextFile(dir / "data/txt/txt.txt", text);
        return dir.Path();
    }

    TempDir dir_;
    ScopedChdir cd_;
};

// The descriptors filed in one layer of the card's window, in item order.
inline std::vector<unsigned int> LayerOfCard(unsigned int layer) {
    std::vector<unsigned int> found;
    Catalog* layers = GetLayerCatalog(CardWindow);
    if (!layers) return found;
    CCategory* category = (*layers)[layer];
    for (unsigned int i = 0; i < category->GetMaxNum(); ++i) {
        CItem* item = (*category)[i];
        if (item->IsEmpty()) continue;
        unsigned int desc = 0;
        item->GetData(reinterpret_cast<char*>(&desc), 4);
        found.push_back(desc);
    }
    return found;
}

inline Uint32 ScreenRgb(int x, int y) { return RgbAt(SDL_FBSurface, x, y); }

inline CText* CardText(unsigned int desc) { return ObjectOf<CText>(desc); }
