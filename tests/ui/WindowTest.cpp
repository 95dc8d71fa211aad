#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <glimmer/glimmer.h>
#include "tests/support/EngineWorld.h"
#include "tests/support/TestWorld.h"

namespace {

struct Press {
    int x;
    int y;
    unsigned int button;
};
std::vector<Press> Presses;

void RecordPress(const SDL_MouseButtonEvent*, int x, int y, unsigned int button, unsigned int) {
    Presses.push_back({x, y, button});
}

// An active button with box (x, y, w, h) in the window's coordinates.
unsigned int AddButton(Window* window, short x, short y, short w, short h) {
    DTable* table = window->GetTable();
    const unsigned int desc = static_cast<unsigned int>(table->CreateDescriptor(TypeButton, nullptr, 1));
    Button* button = ObjectOf<Button>(desc, *table);
    button->CreateButton(x, y, w, h, RecordPress, nullptr);
    button->Activate();
    return desc;
}

int Occurrences(const std::string& text) {
    int n = 0;
    const std::string trace = DebugLogText();
    for (std::size_t at = trace.find(text); at != std::string::npos; at = trace.find(text, at + 1)) ++n;
    return n;
}

CCategory* VisibleLayer(unsigned int z) { return (*GetLayerCatalog(CFG.VCDesc))[z]; }
CCategory* WindowLayer(unsigned int z) { return (*GetLayerCatalog(CFG.WCDesc))[z]; }

}  // namespace

TEST(Window, CapacityZeroMeansThousandAndIsWrittenBack) {
    EngineWorld world;
    short params[2] = {0, 7};
    const unsigned int desc = static_cast<unsigned int>(GDT.CreateDescriptor(TypeWindow, params, 10));
    Window* window = ObjectOf<Window>(desc);

    EXPECT_EQ(GDT.GetParams(desc)[0], 1000);
    EXPECT_EQ(GDT.GetParams(desc)[1], 7);
    EXPECT_EQ(window->CategoryNum, 256u);
    EXPECT_EQ((*window)[0u]->GetMaxNum(), 1000u);
    EXPECT_EQ((*window)[255u]->GetMaxNum(), 1000u);
    EXPECT_TRUE(TraceHas("Params[0] is:0\n"));
}

TEST(Window, KeepsAGivenCapacityAndDefaultsWithoutParameters) {
    EngineWorld world;
    short params[2] = {25, 0};
    const unsigned int given = static_cast<unsigned int>(GDT.CreateDescriptor(TypeWindow, params, 4));
    EXPECT_EQ(GDT.GetParams(given)[0], 25);
    EXPECT_EQ((*ObjectOf<Window>(given))[3u]->GetMaxNum(), 25u);

    const unsigned int bare = static_cast<unsigned int>(GDT.CreateDescriptor(TypeWindow, nullptr, 4));
    EXPECT_EQ(GDT.GetParams(bare), nullptr);
    EXPECT_EQ((*ObjectOf<Window>(bare))[0u]->GetMaxNum(), 1000u);
}

TEST(Window, NegativeCapacityIsRefused) {
    EngineWorld world;
    short params[2] = {-5, 0};
    EXPECT_EXIT(GDT.CreateDescriptor(TypeWindow, params, 4), ::testing::ExitedWithCode(2),
                "Not enought memory");
}

TEST(Window, FirstWindowOfThreeThousandSlotsNumbers20To3019) {
    EngineWorld world;
    short params[2] = {0, 0};
    const unsigned int desc = static_cast<unsigned int>(GDT.CreateDescriptor(TypeWindow, params, 3000));
    Window* window = ObjectOf<Window>(desc);
    DTable* table = window->GetTable();

    EXPECT_EQ(desc, 2u);
    EXPECT_EQ(table->Start, 20u);
    EXPECT_EQ(table->MLimit, 3000);
    EXPECT_EQ(table->Desc, 2u);
    EXPECT_EQ(window->GetUDesc(), 0u);
    EXPECT_TRUE(TraceHas("Window initializing Desc=2 num=3000 and UDesc=0\n"));
    EXPECT_TRUE(TraceHas("Window initialized with descriptor=2 start=20 mlimit=3000\n"));

    const unsigned int first = static_cast<unsigned int>(table->CreateDescriptor(TypeSprite, nullptr, 1));
    EXPECT_EQ(first, 20u);
    EXPECT_EQ(ObjectOf<Sprite>(first)->GetUDesc(), 2u);
    for (int i = 1; i < 3000; ++i) table->CreateDescriptor(7, nullptr, 1);
    EXPECT_EQ(table->Descriptors[2999].Desc, 3019u);
    EXPECT_EQ(GDT.GetData(3019), &table->Descriptors[2999]);
    EXPECT_EQ(GDT.GetData(3020), nullptr);
}

TEST(Window, NoFreeRangeEndsWithCode3) {
    // Three slots in GDT hold three ranges: the outer window's and two of
    // windows inside it; a third inner window finds no free range entry.
    EngineWorld world("ShowFps 0\nGDTsize 3\n");
    Window* outer = MakeWindow(GDT, 0, 0, 10, 10);
    MakeWindow(*outer->GetTable(), 0, 0, 10, 10);
    MakeWindow(*outer->GetTable(), 0, 0, 10, 10);
    EXPECT_EXIT(MakeWindow(*outer->GetTable(), 0, 0, 10, 10), ::testing::ExitedWithCode(3),
                "No free descriptors left");
}

TEST(Window, ShowAndActivateFileItOnceInTheGlobalCatalogs) {
    EngineWorld world;
    unsigned int desc = 0;
    Window* window = MakeWindow(GDT, 0, 0, 10, 10, 4, 4, 8, &desc);

    window->Show();
    window->Show();
    EXPECT_EQ(VisibleLayer(4)->GetNum(), 1u);
    EXPECT_EQ(window->VQnum, 0);
    EXPECT_EQ(window->Flags, 2u);
    unsigned int filed = 0;
    (*VisibleLayer(4))[0u]->GetData(reinterpret_cast<char*>(&filed), 4);
    EXPECT_EQ(filed, desc);
    EXPECT_EQ(WindowLayer(4)->GetNum(), 0u);

    window->Activate();
    EXPECT_EQ(WindowLayer(4)->GetNum(), 1u);
    EXPECT_EQ(window->Flags, 3u);

    window->Hide();
    window->Hide();
    EXPECT_EQ(VisibleLayer(4)->GetNum(), 0u);
    EXPECT_EQ(window->VQnum, -1);
    EXPECT_EQ(window->Flags, 1u);
    window->Disactivate();
    EXPECT_EQ(WindowLayer(4)->GetNum(), 0u);
    EXPECT_EQ(window->Flags, 0u);
}

TEST(Window, EveryPartCarriesItsDescriptorAndShowsTheSameWindow) {
    EngineWorld world;
    unsigned int desc = 0;
    Window* window = MakeWindow(GDT, 0, 0, 10, 10, 4, 4, 8, &desc);
    GObject* part = GetGObject(desc);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->GetDesc(), desc);
    EXPECT_EQ(window->Desc, desc);
    EXPECT_EQ(static_cast<Catalog*>(window)->Desc, desc);
    EXPECT_EQ(window->GetTable()->Desc, desc);

    part->Show();
    window->Show();
    ASSERT_EQ(VisibleLayer(4)->GetNum(), 1u);
    unsigned int filed = 0;
    (*VisibleLayer(4))[0u]->GetData(reinterpret_cast<char*>(&filed), 4);
    EXPECT_EQ(filed, desc);
    EXPECT_EQ(window->VQnum, 0);
    EXPECT_EQ(window->Flags, 2u);

    window->Hide();
    part->Hide();
    EXPECT_EQ(VisibleLayer(4)->GetNum(), 0u);
    EXPECT_EQ(part->VQnum, -1);
    EXPECT_EQ(window->Flags, 0u);
}

TEST(Window, LevelBeyondASmallerWindowCatalogUsesItsLastLayer) {
    EngineWorld world("ShowFps 0\nWClayers 4\n");
    Window* window = MakeWindow(GDT, 0, 0, 10, 10, 200);
    window->Activate();
    EXPECT_EQ(WindowLayer(3)->GetNum(), 1u);
    window->Disactivate();
    EXPECT_EQ(WindowLayer(3)->GetNum(), 0u);
}

TEST(Window, DrawsLowerLayersFirstAndWithinALayerByPosition) {
    EngineWorld world;
    Window* window = MakeWindow(GDT, 0, 0, 800, 600);
    DTable* table = window->GetTable();
    PaintScreen(0x000000);

    // Shown first, but on the higher layer: it must end on top.
    GObject* red = GetGObject(SolidSprite(*table, 10, 10, 20, 20, 0xFF0000, 5));
    red->Show();
    GObject* blue = GetGObject(SolidSprite(*table, 20, 20, 20, 20, 0x0000FF, 1));
    blue->Show();

    // On one layer, a later object that takes a freed lower position is drawn
    // before one shown earlier.
    GObject* green = GetGObject(SolidSprite(*table, 100, 100, 20, 20, 0x00FF00, 2));
    GObject* spare = GetGObject(SolidSprite(*table, 300, 300, 5, 5, 0x00FF00, 2));
    GObject* white = GetGObject(SolidSprite(*table, 110, 110, 20, 20, 0xFFFFFF, 2));
    spare->Show();
    green->Show();
    spare->Hide();
    white->Show();
    EXPECT_EQ(white->VQnum, 0);
    EXPECT_EQ(green->VQnum, 1);

    DebugLogReset();
    window->Run(nullptr);

    EXPECT_EQ(ScreenPixel(25, 25), 0xFF0000u);
    EXPECT_EQ(ScreenPixel(35, 35), 0x0000FFu);
    EXPECT_EQ(ScreenPixel(115, 115), 0x00FF00u);
    EXPECT_EQ(ScreenPixel(125, 125), 0xFFFFFFu);
    EXPECT_EQ(ScreenPixel(302, 302), 0x000000u);
    EXPECT_TRUE(TraceHas("In window# 2drawed 4 objects\n"));
}

TEST(Window, TextOnALowerLayerIsCoveredBySprite) {
    EngineWorld world("ShowFps 0\n", std::string("1\nmain ") + DejaVuSans + " 1 40\n");
    Window* window = MakeWindow(GDT, 0, 0, 800, 600);
    DTable* table = window->GetTable();
    PaintScreen(0x000000);

    short at[2] = {0, 0};
    CText* text = ObjectOf<CText>(table->CreateDescriptor(TypeText, at, 1), *table);
    text->Create("MMMMMMMM", "main 40");
    text->ChangeColor(255, 255, 255);
    text->SetZLevel(1);
    text->Show();
    text->Render();
    const int width = text->GetXSize();
    ASSERT_GT(width, 100);
    GObject* sprite = GetGObject(SolidSprite(*table, 0, 0, width / 2, 60, 0xFF0000, 5));
    sprite->Show();

    window->Run(nullptr);

    int red = 0, white = 0;
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < 50; ++y) {
            const Uint32 p = ScreenPixel(x, y);
            if (x < width / 2 && p == 0xFF0000u) ++red;
            if (x >= width / 2 && p == 0xFFFFFFu) ++white;
        }
    EXPECT_EQ(red, (width / 2) * 50);
    EXPECT_GT(white, 50);
}

TEST(Window, DrawsItsObjectsFromItsOriginClippedToItsRectangle) {
    EngineWorld world;
    Window* window = MakeWindow(GDT, 100, 100, 50, 50);
    window->SetCenter(10, 10, 1.0f, 1.0f);
    PaintScreen(0x000000);
    GObject* big = GetGObject(SolidSprite(*window->GetTable(), 0, 0, 100, 100, 0x00FF00));
    big->Show();

    window->Run(nullptr);

    // Objects are placed from X + XCenter = 110; the rectangle spans
    // X - XCenter = 90 to 139.
    EXPECT_EQ(ScreenPixel(109, 109), 0x000000u);
    EXPECT_EQ(ScreenPixel(110, 110), 0x00FF00u);
    EXPECT_EQ(ScreenPixel(139, 139), 0x00FF00u);
    EXPECT_EQ(ScreenPixel(140, 139), 0x000000u);
    EXPECT_EQ(ScreenPixel(139, 140), 0x000000u);
}

TEST(Window, EmptyWindowReportsZeroObjectsDrawn) {
    EngineWorld world;
    Window* window = MakeWindow(GDT, 0, 0, 10, 10);
    window->Run(nullptr);
    EXPECT_TRUE(TraceHas("Entering window# 2for drawing\nIn window# 2drawed 0 objects\n"));
}

TEST(Window, ClickBoxIncludesRightAndBottomEdges) {
    EngineWorld world;
    Window* window = MakeWindow(GDT, 100, 100, 50, 40);
    AddButton(window, 0, 0, 50, 40);

    SDL_Event edge = MouseButtonEvent(SDL_MOUSEBUTTONDOWN, 150, 140);
    EXPECT_EQ(window->MouseClick(&edge), 1);
    ASSERT_EQ(Presses.size(), 1u);
    EXPECT_EQ(Presses[0].x, 50);
    EXPECT_EQ(Presses[0].y, 40);

    for (auto [x, y] : {std::pair<Uint16, Uint16>{151, 140}, {150, 141}, {99, 100}, {100, 99}}) {
        SDL_Event outside = MouseButtonEvent(SDL_MOUSEBUTTONDOWN, x, y);
        EXPECT_EQ(window->MouseClick(&outside), 0) << x << "," << y;
    }
    EXPECT_EQ(Presses.size(), 1u);
}

TEST(Window, ButtonsSeePositionsMeasuredFromTheDrawnCorner) {
    EngineWorld world;
    Window* window = MakeWindow(GDT, 100, 100, 50, 50);
    window->SetCenter(10, 10, 1.0f, 1.0f);
    const unsigned int button = AddButton(window, 0, 0, 20, 20);

    SDL_Event press = MouseButtonEvent(SDL_MOUSEBUTTONUP, 100, 100);
    EXPECT_EQ(window->MouseClick(&press), 1);
    ASSERT_EQ(Presses.size(), 1u);
    EXPECT_EQ(Presses[0].x, 10);
    EXPECT_EQ(Presses[0].y, 10);
    EXPECT_EQ(Presses[0].button, button);
    EXPECT_TRUE(TraceHas("Window#2:Mouse at:x(abs)=100 x(rel)=10 y(abs)=100 y(rel)=10\n"));
    EXPECT_TRUE(TraceHas("Start: 20 Num: 1 Mlimit: 16\nInspecting object# 20\nFound button\n"));
}

TEST(Window, ButtonsBeyondTheTakenCountAreNeverOffered) {
    EngineWorld world;
    Window* window = MakeWindow(GDT, 0, 0, 100, 100);
    DTable* table = window->GetTable();
    const unsigned int sprite = static_cast<unsigned int>(table->CreateDescriptor(TypeSprite, nullptr, 1));
    const unsigned int early = AddButton(window, 0, 0, 100, 100);
    AddButton(window, 0, 0, 100, 100);  // slot 2
    table->FreeDescriptor(early);
    table->FreeDescriptor(sprite);
    ASSERT_EQ(table->Num, 1u);

    DebugLogReset();
    SDL_Event press = MouseButtonEvent(SDL_MOUSEBUTTONDOWN, 50, 50);
    EXPECT_EQ(window->MouseClick(&press), 0);
    EXPECT_TRUE(Presses.empty());
    EXPECT_TRUE(TraceHas("Inspecting object# 20\n"));
    EXPECT_FALSE(TraceHas("Inspecting object# 21"));
    EXPECT_FALSE(TraceHas("Found button"));
}

TEST(Window, WithoutObjectsAClickInsideIsRejected) {
    EngineWorld world;
    Window* window = MakeWindow(GDT, 0, 0, 100, 100);
    SDL_Event press = MouseButtonEvent(SDL_MOUSEBUTTONDOWN, 50, 50);
    EXPECT_EQ(window->MouseClick(&press), 0);
    EXPECT_TRUE(TraceHas("Start: 20 Num: 0 Mlimit: 16\n"));
    EXPECT_FALSE(TraceHas("Inspecting"));
}

TEST(Window, FreeingItDestroysEverythingInItOnce) {
    EngineWorld world;
    unsigned int desc = 0;
    Window* window = MakeWindow(GDT, 0, 0, 100, 100, 0, 16, 8, &desc);
    const unsigned int button = AddButton(window, 0, 0, 10, 10);
    const unsigned int sprite = SolidSprite(*window->GetTable(), 0, 0, 4, 4, 0xFFFFFF);

    DebugLogReset();
    GDT.FreeDescriptor(desc);

    EXPECT_TRUE(TraceHas("Window#2destroyed\n"));
    EXPECT_EQ(Occurrences("Destructing button"), 1);
    // Two objects inside, and the window's own GObject part.
    EXPECT_EQ(Occurrences("Destructing GObject"), 3);
    EXPECT_EQ(GDT.GetData(button), nullptr);
    EXPECT_EQ(GDT.GetData(sprite), nullptr);
    EXPECT_EQ(GDT[desc], nullptr);
}

TEST(Window, WindowsInsideWindowsDrawAndTakeClicks) {
    EngineWorld world;
    Window* outer = MakeWindow(GDT, 0, 0, 800, 600);
    unsigned int innerDesc = 0;
    Window* inner = MakeWindow(*outer->GetTable(), 200, 200, 100, 100, 3, 8, 8, &innerDesc);
    EXPECT_EQ(inner->GetUDesc(), 2u);
    EXPECT_EQ(GDT[innerDesc], inner);

    const unsigned int sprite = SolidSprite(*inner->GetTable(), 10, 10, 20, 20, 0xFFFF00);
    EXPECT_EQ(GDT[sprite], inner->GetTable()->Descriptors[0].Object);
    GetGObject(sprite)->Show();
    const unsigned int button = AddButton(inner, 0, 0, 50, 50);

    // A window is shown and activated in the global catalogs whatever its owner.
    inner->Show();
    inner->Activate();
    PaintScreen(0x000000);
    RunGlimmerFrame();
    EXPECT_EQ(ScreenPixel(215, 215), 0xFFFF00u);
    EXPECT_EQ(ScreenPixel(205, 205), 0x000000u);

    SDL_Event press = MouseButtonEvent(SDL_MOUSEBUTTONDOWN, 220, 230);
    MouseKey(&press);
    ASSERT_EQ(Presses.size(), 1u);
    EXPECT_EQ(Presses[0].button, button);
    EXPECT_EQ(Presses[0].x, 20);
    EXPECT_EQ(Presses[0].y, 30);
}

TEST(Window, AWindowFiledInItsOwnLayersIsNotDrawnAgainInsideItself) {
    EngineWorld world;
    unsigned int desc = 0;
    Window* window = MakeWindow(GDT, 0, 0, 100, 100, 0, 16, 8, &desc);
    (*window)[0u]->AddItem(reinterpret_cast<char*>(&desc), 4);
    window->Run(nullptr);
    EXPECT_EQ(Occurrences("Entering window# 2for drawing"), 2);
    EXPECT_TRUE(TraceHas("In window# 2drawed 0 objects\nIn window# 2drawed 1 objects\n"));
}
