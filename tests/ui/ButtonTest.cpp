#include <gtest/gtest.h>

#include <vector>

#include <glimmer/glimmer.h>
#include "tests/support/EngineWorld.h"
#include "tests/support/TestWorld.h"

namespace {

struct Call {
    Uint8 type;
    int x;
    int y;
    unsigned int from;
    unsigned int sprite;
};
std::vector<Call> Clicks;
std::vector<Call> Tracks;

void RecordClick(const SDL_MouseButtonEvent* e, int x, int y, unsigned int button, unsigned int sprite) {
    Clicks.push_back({e->type, x, y, button, sprite});
}

void RecordTrack(const SDL_MouseMotionEvent* e, int x, int y, unsigned int window, unsigned int sprite) {
    Tracks.push_back({e->type, x, y, window, sprite});
}

struct ButtonWorld {
    EngineWorld engine;
    Window* window = MakeWindow(GDT, 0, 0, 800, 600);
    unsigned int desc = static_cast<unsigned int>(window->GetTable()->CreateDescriptor(TypeButton, nullptr, 1));
    Button* button = ObjectOf<Button>(desc);
};

}  // namespace

TEST(Button, StartsInactiveWithoutSpriteOrCallbacks) {
    ButtonWorld w;
    EXPECT_EQ(w.desc, 20u);
    EXPECT_EQ(w.button->GetDesc(), 20u);
    EXPECT_EQ(w.button->GetUDesc(), 2u);
    EXPECT_EQ(w.button->IsActive(), 0);
    EXPECT_EQ(w.button->GetSPDesc(), 0u);
    EXPECT_EQ(w.button->Click, nullptr);
    EXPECT_TRUE(TraceHas("Creating button\n"));
    EXPECT_TRUE(TraceHas("Initialized Button desc=20\n"));
}

TEST(Button, BoxIsScaledAndTruncated) {
    ButtonWorld w;
    w.button->SetScale(1.5f, 2.0f);
    w.button->CreateButton(10, 20, 30, 40, RecordClick, RecordTrack);
    EXPECT_EQ(w.button->GetX(), 15);
    EXPECT_EQ(w.button->GetY(), 40);
    EXPECT_EQ(w.button->GetXSize(), 45);
    EXPECT_EQ(w.button->GetYSize(), 80);
    EXPECT_TRUE(TraceHas("Creating button. SX=1.5 SY=2\n"));

    w.button->CreateButton(3, 3, 3, 3, nullptr, nullptr);
    EXPECT_EQ(w.button->GetX(), 4);
    EXPECT_EQ(w.button->GetYSize(), 6);
}

TEST(Button, PressAndReleaseEachCallClickInsideTheInclusiveBox) {
    ButtonWorld w;
    w.button->CreateButton(10, 20, 30, 40, RecordClick, RecordTrack);
    w.button->AssignSprite(99);
    w.button->Activate();

    SDL_Event down = MouseButtonEvent(SDL_MOUSEBUTTONDOWN, 500, 500);
    SDL_Event up = MouseButtonEvent(SDL_MOUSEBUTTONUP, 500, 500);
    EXPECT_EQ(w.button->Run(&down, 40, 60, 0), 1);
    EXPECT_EQ(w.button->Run(&up, 10, 20, 0), 1);
    ASSERT_EQ(Clicks.size(), 2u);
    EXPECT_EQ(Clicks[0].type, SDL_MOUSEBUTTONDOWN);
    EXPECT_EQ(Clicks[1].type, SDL_MOUSEBUTTONUP);
    EXPECT_EQ(Clicks[0].x, 40);
    EXPECT_EQ(Clicks[0].y, 60);
    EXPECT_EQ(Clicks[0].from, w.desc);
    EXPECT_EQ(Clicks[0].sprite, 99u);
    EXPECT_TRUE(TraceHas("Click at (abs)[500;500] rel[40;60] passed to button [10;20]->[40;60]\n"
                         "Button is active? 1\nCalling Click();="));

    EXPECT_EQ(w.button->Run(&down, 41, 60, 0), 0);
    EXPECT_EQ(w.button->Run(&down, 40, 61, 0), 0);
    EXPECT_EQ(w.button->Run(&down, 9, 20, 0), 0);
    EXPECT_EQ(Clicks.size(), 2u);
}

TEST(Button, InactiveButtonTakesNothingAndNullCallbackStillTakes) {
    ButtonWorld w;
    w.button->CreateButton(0, 0, 10, 10, nullptr, nullptr);
    SDL_Event down = MouseButtonEvent(SDL_MOUSEBUTTONDOWN, 5, 5);
    EXPECT_EQ(w.button->Run(&down, 5, 5, 0), 0);
    EXPECT_TRUE(TraceHas("Button is active? 0\n"));
    w.button->Activate();
    EXPECT_EQ(w.button->Run(&down, 5, 5, 0), 1);
    w.button->Disactivate();
    EXPECT_EQ(w.button->Run(&down, 5, 5, 0), 0);
}

TEST(Button, MotionCallsTrackAnywhereAndIsNeverTaken) {
    ButtonWorld w;
    w.button->CreateButton(0, 0, 10, 10, RecordClick, RecordTrack);
    w.button->AssignSprite(7);
    SDL_Event move = MotionEvent(700, 500);
    EXPECT_EQ(w.button->Run(&move, 700, 500, 2), 0);
    EXPECT_EQ(w.button->Run(&move, 700, 500, 0), 0);
    ASSERT_EQ(Tracks.size(), 2u);
    EXPECT_EQ(Tracks[0].from, 2u);
    EXPECT_EQ(Tracks[1].from, w.desc);
    EXPECT_EQ(Tracks[0].sprite, 7u);
    EXPECT_EQ(Tracks[0].x, 700);
    EXPECT_TRUE(Clicks.empty());
    EXPECT_TRUE(TraceHas("Calling Track();\n"));
}

TEST(Button, OtherEventsAreIgnored) {
    ButtonWorld w;
    w.button->CreateButton(0, 0, 100, 100, RecordClick, RecordTrack);
    w.button->Activate();
    SDL_Event key = KeyEvent(SDL_KEYDOWN, SDLK_a);
    EXPECT_EQ(w.button->Run(&key, 1, 1, 0), 0);
    EXPECT_TRUE(Clicks.empty());
    EXPECT_TRUE(Tracks.empty());
}

TEST(Button, ShowsHidesAndDrawsItsSprite) {
    ButtonWorld w;
    const unsigned int sprite = SolidSprite(*w.window->GetTable(), 30, 40, 10, 10, 0x00FFFF, 6);
    CCategory* layer = (*w.window)[6u];

    w.button->Show();  // no sprite yet: nothing happens
    EXPECT_EQ(layer->GetNum(), 0u);

    w.button->AssignSprite(sprite);
    w.button->Show();
    EXPECT_EQ(layer->GetNum(), 1u);
    EXPECT_EQ(GetGObject(sprite)->VQnum, 0);
    w.button->Hide();
    EXPECT_EQ(layer->GetNum(), 0u);

    PaintScreen(0x000000);
    w.button->Run();
    EXPECT_EQ(ScreenPixel(35, 45), 0x00FFFFu);
    EXPECT_EQ(ScreenPixel(29, 45), 0x000000u);
}

TEST(Button, ASpriteDescriptorThatNamesNoSpriteIsLeftAlone) {
    ButtonWorld w;
    w.button->AssignSprite(w.desc);  // the button itself, not a sprite
    w.button->Show();
    w.button->Run();
    w.button->AssignSprite(4000);  // nothing registered there
    w.button->Show();
    w.button->Hide();
    EXPECT_EQ((*w.window)[0u]->GetNum(), 0u);
}

TEST(Button, DestroyingItLeavesItsSprite) {
    ButtonWorld w;
    const unsigned int sprite = SolidSprite(*w.window->GetTable(), 0, 0, 4, 4, 0xFFFFFF);
    w.button->AssignSprite(sprite);
    DebugLogReset();
    w.window->GetTable()->FreeDescriptor(w.desc);
    EXPECT_TRUE(TraceHas("Destructing button\nDestructing GObject\n"));
    EXPECT_NE(GDT[sprite], nullptr);
}
