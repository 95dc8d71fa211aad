#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <glimmer/glimmer.h>
#include "tests/support/EngineWorld.h"
#include "tests/support/TestWorld.h"

namespace {

std::vector<unsigned int> Pressed;  // buttons, in the order they took a press
std::vector<std::pair<unsigned int, unsigned int>> Tracked;  // (button's sprite, window)

void RecordPress(const SDL_MouseButtonEvent*, int, int, unsigned int button, unsigned int) {
    Pressed.push_back(button);
}

void RecordTrack(const SDL_MouseMotionEvent*, int, int, unsigned int window, unsigned int sprite) {
    Tracked.push_back({sprite, window});
}

unsigned int AddButton(Window* window, short x, short y, short w, short h, unsigned int tag = 0) {
    DTable* table = window->GetTable();
    const unsigned int desc = static_cast<unsigned int>(table->CreateDescriptor(TypeButton, nullptr, 1));
    Button* button = ObjectOf<Button>(desc, *table);
    button->CreateButton(x, y, w, h, RecordPress, RecordTrack);
    button->Activate();
    if (tag) button->AssignSprite(tag);
    return desc;
}

int Occurrences(const std::string& text) {
    int n = 0;
    const std::string trace = DebugLogText();
    for (std::size_t at = trace.find(text); at != std::string::npos; at = trace.find(text, at + 1)) ++n;
    return n;
}

// Few window layers: the search writes a line for every layer it passes, and
// the trace keeps only its first 2048 characters.
const char* const FewLayers = "ShowFps 0\nWClayers 10\n";

}  // namespace

TEST(MouseKey, HigherLevelWindowTakesThePressFirst) {
    EngineWorld world(FewLayers);
    Window* low = MakeWindow(GDT, 0, 0, 200, 200, 3);
    Window* high = MakeWindow(GDT, 50, 50, 200, 200, 7);
    // Activated low first, so that filing order cannot explain the result.
    low->Activate();
    high->Activate();
    const unsigned int lowButton = AddButton(low, 0, 0, 200, 200);
    const unsigned int highButton = AddButton(high, 0, 0, 200, 200);
    ASSERT_NE(lowButton, highButton);

    DebugLogReset();
    SDL_Event press = MouseButtonEvent(SDL_MOUSEBUTTONDOWN, 100, 100);
    MouseKey(&press);

    ASSERT_EQ(Pressed.size(), 1u);
    EXPECT_EQ(Pressed[0], highButton);
    EXPECT_EQ(Occurrences("Click accepted"), 1);
    EXPECT_TRUE(TraceHas("Click detected at:[100;100]\nLayer9 Num=0\nLayer8 Num=0\nLayer7 Num=1\n"));
    EXPECT_FALSE(TraceHas("Layer3"));
}

TEST(MouseKey, WithinALevelTheLowerPositionComesFirst) {
    EngineWorld world(FewLayers);
    Window* first = MakeWindow(GDT, 0, 0, 100, 100, 2);
    Window* second = MakeWindow(GDT, 0, 0, 100, 100, 2);
    Window* spare = MakeWindow(GDT, 0, 0, 100, 100, 2);
    spare->Activate();
    second->Activate();
    spare->Disactivate();
    first->Activate();  // takes position 0, freed by spare
    AddButton(second, 0, 0, 100, 100);
    const unsigned int firstButton = AddButton(first, 0, 0, 100, 100);

    SDL_Event press = MouseButtonEvent(SDL_MOUSEBUTTONUP, 10, 10);
    MouseKey(&press);
    ASSERT_EQ(Pressed.size(), 1u);
    EXPECT_EQ(Pressed[0], firstButton);
}

TEST(MouseKey, PressOutsideEveryWindowIsRejectedByEach) {
    EngineWorld world(FewLayers);
    Window* a = MakeWindow(GDT, 0, 0, 100, 100, 1);
    Window* b = MakeWindow(GDT, 0, 0, 100, 100, 9);
    a->Activate();
    b->Activate();
    AddButton(a, 0, 0, 100, 100);
    AddButton(b, 0, 0, 100, 100);

    DebugLogReset();
    SDL_Event press = MouseButtonEvent(SDL_MOUSEBUTTONDOWN, 300, 300);
    MouseKey(&press);
    EXPECT_TRUE(Pressed.empty());
    EXPECT_EQ(Occurrences("Click rejected"), 2);
    EXPECT_EQ(Occurrences("Click accepted"), 0);
}

TEST(MouseKey, ShownWindowThatIsNotActiveNeverSeesThePress) {
    EngineWorld world(FewLayers);
    Window* shown = MakeWindow(GDT, 0, 0, 100, 100, 1);
    shown->Show();
    AddButton(shown, 0, 0, 100, 100);
    Window* active = MakeWindow(GDT, 0, 0, 100, 100, 0);
    active->Activate();
    const unsigned int activeButton = AddButton(active, 0, 0, 100, 100);

    SDL_Event press = MouseButtonEvent(SDL_MOUSEBUTTONDOWN, 10, 10);
    MouseKey(&press);
    ASSERT_EQ(Pressed.size(), 1u);
    EXPECT_EQ(Pressed[0], activeButton);
}

TEST(MouseKey, KeyEventsReachNoButton) {
    EngineWorld world(FewLayers);
    Window* window = MakeWindow(GDT, 0, 0, 800, 600, 0);
    window->Activate();
    AddButton(window, 0, 0, 800, 600);
    SDL_Event key = KeyEvent(SDL_KEYDOWN, SDLK_SPACE);
    MouseKey(&key);
    EXPECT_TRUE(Pressed.empty());
    EXPECT_TRUE(TraceHas("Click detected at:["));
}

TEST(MouseKey, AFreedWindowLeftInTheCatalogIsSkipped) {
    EngineWorld world(FewLayers);
    unsigned int desc = 0;
    Window* window = MakeWindow(GDT, 0, 0, 100, 100, 0, 16, 8, &desc);
    window->Activate();
    GDT.FreeDescriptor(desc);
    SDL_Event press = MouseButtonEvent(SDL_MOUSEBUTTONDOWN, 10, 10);
    MouseKey(&press);
    EXPECT_TRUE(TraceHas("Click rejected\n"));
}

TEST(MouseTrack, WithoutATrackedWindowMotionReachesNoButton) {
    EngineWorld world;
    Window* window = MakeWindow(GDT, 0, 0, 800, 600, 0);
    window->Activate();
    AddButton(window, 0, 0, 800, 600);
    SDL_Event move = MotionEvent(10, 10);
    MouseTrack(&move);
    EXPECT_TRUE(Tracked.empty());
}

TEST(MouseTrack, MotionReachesEveryButtonOfTheTrackedWindow) {
    EngineWorld world;
    unsigned int desc = 0;
    // Neither shown nor active, and the pointer is far outside it.
    Window* window = MakeWindow(GDT, 0, 0, 50, 50, 0, 16, 8, &desc);
    AddButton(window, 0, 0, 10, 10, 101);
    AddButton(window, 30, 30, 10, 10, 102);
    AddButton(window, 40, 0, 5, 5, 103);
    TrackedWindow = desc;

    SDL_Event move = MotionEvent(700, 550);
    MouseTrack(&move);

    ASSERT_EQ(Tracked.size(), 3u);
    for (unsigned int i = 0; i < 3; ++i) {
        EXPECT_EQ(Tracked[i].first, 101u + i);
        EXPECT_EQ(Tracked[i].second, desc);
    }
    EXPECT_TRUE(Pressed.empty());
}

TEST(MouseTrack, ATrackedNumberThatIsNoWindowIsIgnored) {
    EngineWorld world;
    TrackedWindow = CFG.VCDesc;
    SDL_Event move = MotionEvent(1, 1);
    MouseTrack(&move);
    TrackedWindow = 4000;
    MouseTrack(&move);
    EXPECT_TRUE(Tracked.empty());
}

TEST(CInput, IsActiveOnlyForStatusOne) {
    CInput input;
    EXPECT_EQ(input.isActive(), 0);
    input.SetStatus(1);
    EXPECT_EQ(input.isActive(), 1);
    input.SetStatus(2);
    EXPECT_EQ(input.isActive(), 0);
}
