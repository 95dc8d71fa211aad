// Drawing only what changed must give the very frames drawing everything
// gives. The card as the build assembles it, at 800 x 600 and at a size whose
// rows of tiles take more than one word, with a second window that moves,
// hides and shows and holds a translucent sprite and a text rewritten every
// few frames, and a top-level sprite that moves and changes its alpha, runs
// 300 frames both ways, each in a process of its own, and every pixel of every
// frame is compared (through a 64-bit digest of the frame).

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "card/Card.h"
#include "glimmer/glimmer.h"
#include "tests/card/CardWorld.h"
#include "tests/support/EngineWorld.h"

namespace {

constexpr time_t FixedMoment = 1072915200 - 30;
constexpr int FrameCount = 300;

struct Extras {
    Window* window = nullptr;
    unsigned int text = 0;
    unsigned int glass = 0;
    unsigned int drifter = 0;
};
Extras Scene;

void BuildExtras() {
    DTable& table = static_cast<Window*>(GDT[CardWindow])->Table;
    Scene.window = MakeWindow(table, 100, 100, 220, 120, 200);
    DTable& inner = Scene.window->Table;
    Scene.glass = SolidSprite(inner, 10, 10, 150, 60, 0x4080FF, 3);
    static_cast<Sprite*>(GDT[Scene.glass])->SetAlpha(120);
    GetGObject(Scene.glass)->Show();
    GetGObject(SolidSprite(inner, 60, 50, 30, 30, 0xFFFF00, 1))->Show();
    short at[2] = {20, 80};
    Scene.text = static_cast<unsigned int>(inner.CreateDescriptor(TypeText, at, 1));
    CText* text = static_cast<CText*>(GDT[Scene.text]);
    text->SetZLevel(5);
    text->Create("0", "main 12");
    text->ChangeColor(255, 255, 255);
    text->Show();
    Scene.window->Show();
    Scene.drifter = SolidSprite(table, 500, 50, 40, 40, 0xFF4000, 250);
    GetGObject(Scene.drifter)->SetZLevel(250);
    GetGObject(Scene.drifter)->Show();
}

void Frame(unsigned int frame) {
    ShowCardTime(FixedMoment + frame / 3);
    MoveCardParticles();
    Scene.window->SetCoord(100 + static_cast<int>(frame % 200), 100 + static_cast<int>(frame % 37), 1.0f, 1.0f);
    if (frame % 50 == 20) Scene.window->Hide();
    if (frame % 50 == 30) Scene.window->Show();
    if (frame % 5 == 0) {
        CText* text = static_cast<CText*>(GDT[Scene.text]);
        text->ChangeText(std::to_string(frame * 7919).c_str());
    }
    short* drifter = GDT.GetParams(Scene.drifter);
    drifter[0] = static_cast<short>(500 - static_cast<int>(frame % 300));
    drifter[1] = static_cast<short>(50 + static_cast<int>(frame % 400));
    if (frame % 10 == 0) static_cast<Sprite*>(GDT[Scene.drifter])->SetAlpha(static_cast<unsigned char>(80 + frame % 170));
}

unsigned long long Digest(const SDL_Surface* s) {
    unsigned long long hash = 1469598103934665603ULL;
    for (int y = 0; y < s->h; ++y) {
        const unsigned char* row = static_cast<const unsigned char*>(s->pixels) + y * s->pitch;
        for (int i = 0; i < s->w * 4; ++i) hash = (hash ^ row[i]) * 1099511628211ULL;
    }
    return hash;
}

// Runs the scene with every frame drawn whole or not; the digests of its
// frames, then the number of frames drawn whole.
std::vector<unsigned long long> RunScene(const std::string& folder, bool whole) {
    ScopedChdir inFolder(folder);
    SetWholeFrames(whole);
    StartShippedCard();
    BuildExtras();
    RegisterFrameFunction(Frame);
    std::vector<unsigned long long> digests;
    unsigned long long wholeFrames = 0;
    for (int frame = 0; frame < FrameCount; ++frame) {
        RunGlimmerFrame();
        digests.push_back(Digest(SDL_FBSurface));
        wholeFrames += LastFrameWhole() ? 1 : 0;
    }
    digests.push_back(wholeFrames);
    return digests;
}

class CardFrameEquality : public testing::TestWithParam<std::pair<int, int>> {};

}  // namespace

TEST_P(CardFrameEquality, DrawingOnlyWhatChangedGivesEveryFrameAsDrawingEverything) {
    const std::string built = std::string(GLIMMER_BINARY_DIR) + "/solvane";
    ASSERT_TRUE(FileExists(built + "/solvane.cfg"));
    TempDir dir;
    const std::string folder = dir / "solvane";
    // Windows runs this again in the death test's child, into the same folder.
    std::filesystem::copy(built, folder,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    WriteTextFile(folder + "/solvane.cfg", ReadTextFile(built + "/solvane.cfg") + "\nWidth " +
                                               std::to_string(GetParam().first) + "\nHeight " +
                                               std::to_string(GetParam().second) + "\n");
    const std::string oldWay = dir / "whole";
    // The other way runs as a death test: in a child process of its own on
    // Linux and Windows alike.
    ASSERT_EXIT(
        {
            const std::vector<unsigned long long> digests = RunScene(folder, true);
            FILE* out = std::fopen(oldWay.c_str(), "wb");
            const bool written =
                out && std::fwrite(digests.data(), sizeof digests[0], digests.size(), out) == digests.size();
            if (out) std::fclose(out);
            std::_Exit(written ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    const std::vector<unsigned long long> changed = RunScene(folder, false);
    std::vector<unsigned long long> whole(FrameCount + 1);
    FILE* in = std::fopen(oldWay.c_str(), "rb");
    ASSERT_TRUE(in);
    const size_t read = std::fread(whole.data(), sizeof whole[0], whole.size(), in);
    std::fclose(in);
    ASSERT_EQ(read, whole.size());

    EXPECT_EQ(whole[FrameCount], static_cast<unsigned long long>(FrameCount));
    // Most frames really were drawn in parts, or nothing was compared.
    EXPECT_LT(changed[FrameCount], FrameCount / 4u);
    for (int frame = 0; frame < FrameCount; ++frame)
        ASSERT_EQ(changed[frame], whole[frame]) << "frame " << frame << " differs";
}

INSTANTIATE_TEST_SUITE_P(ScreenSizes, CardFrameEquality,
                         testing::Values(std::make_pair(800, 600), std::make_pair(1280, 1024)));
