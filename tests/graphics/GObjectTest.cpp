#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include <glimmer/glimmer.h>
#include "tests/graphics/GraphicsWorld.h"

namespace {

// Only the configuration is read: enough for the scale factors.
void ReadScreenSize(const TempDir& dir, int width, int height, const std::string& extra = "") {
    const std::string path = dir / "engine.cfg";
    WriteTextFile(path, "Width " + std::to_string(width) + "\nHeight " + std::to_string(height) + "\n" + extra);
    CFG.LoadConfig(path.c_str());
}

unsigned int CreateSprite(short x = 0, short y = 0) {
    short params[2] = {x, y};
    return static_cast<unsigned int>(GDT.CreateDescriptor(TypeSprite, params, 1));
}

CCategory* VisibleLayer(unsigned int z) { return (*GetLayerCatalog(CFG.VCDesc))[z]; }

unsigned int ItemDesc(CCategory* layer, int position) {
    unsigned int desc = 0xFFFFFFFFu;
    (*layer)[position]->GetData(reinterpret_cast<char*>(&desc), sizeof desc);
    return desc;
}

}  // namespace

TEST(ScaleTrunc, TruncatesTowardZeroAndKeepsLow16Bits) {
    EXPECT_EQ(ScaleTrunc(3, 0.5), 1);
    EXPECT_EQ(ScaleTrunc(-3, 0.5), -1);
    EXPECT_EQ(ScaleTrunc(399, 1.0), 399);
    EXPECT_EQ(ScaleTrunc(70000, 1.0), 4464);
    EXPECT_EQ(ScaleTrunc(40000, 1.0), -25536);
}

TEST(ScaleTrunc, NotANumberGivesZeroAndHugeProductsAreClamped) {
    EXPECT_EQ(ScaleTrunc(5, std::nan("")), 0);
    EXPECT_EQ(ScaleTrunc(0, std::numeric_limits<double>::infinity()), 0);
    // Clamped to the largest and smallest 64-bit values, whose low 16 bits are
    // all ones and all zeros.
    EXPECT_EQ(ScaleTrunc(1, std::numeric_limits<double>::infinity()), -1);
    EXPECT_EQ(ScaleTrunc(-1, std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(ScaleTrunc(2, 1e300), -1);
    EXPECT_EQ(TruncTo16(-2.9), -2);
}

TEST(GObject, ScaledSettersTruncateTheirProducts) {
    GObject object;
    object.SetCoord(400, 300, 1.25f, 1.25f);
    EXPECT_EQ(object.GetX(), 500);
    EXPECT_EQ(object.GetY(), 375);
    object.SetCoord(3, 3, 0.5f, 0.5f);
    EXPECT_EQ(object.GetX(), 1);
    EXPECT_EQ(object.GetY(), 1);
    object.SetCoord(-3, 0, 0.5f, 1.0f);
    EXPECT_EQ(object.GetX(), -1);
    EXPECT_EQ(object.GetY(), 0);
    object.SetCenter(-7, 9, 0.5f, 0.5f);
    EXPECT_EQ(object.GetXCenter(), -3);
    EXPECT_EQ(object.GetYCenter(), 4);
    object.SetSize(99, 51, 0.5f, 2.0f);
    EXPECT_EQ(object.GetXSize(), 49);
    EXPECT_EQ(object.GetYSize(), 102);
}

TEST(GObject, ConstructionTracesAndTakesConfiguredFactors) {
    TempDir dir;
    ReadScreenSize(dir, 1024, 768);
    DebugLogReset();
    GObject object;
    EXPECT_FLOAT_EQ(object.SX, 1.28f);
    EXPECT_LT(static_cast<double>(object.SY), 1.28);
    EXPECT_EQ(object.VQnum, -1);
    EXPECT_EQ(object.GetZLevel(), 0);
    EXPECT_TRUE(TraceHas("Constructing GObject\nSX=1.28 SY=1.28\n")) << DebugLogText();
    object.SetCoord(1, 1, 1, 1);
    object.SetSize(1, 1, 1, 1);
    object.SetCenter(1, 1, 1, 1);
    object.SetZLevel(1);
    EXPECT_TRUE(TraceHas("SetCoord\nResize\nSetCenter\nSet Z Level\n")) << DebugLogText();
}

struct Screen {
    int Width, Height;
    short SizeX, SizeY;    // SetSize(800, 600, Scalex, Scaley)
    short CoordX, CoordY;  // SetCoord(400, 300, Scalex, Scaley)
};

class ScreenGeometry : public ::testing::TestWithParam<Screen> {};

TEST_P(ScreenGeometry, DesignUnitsBecomeTruncatedScreenPixels) {
    const Screen s = GetParam();
    TempDir dir;
    ReadScreenSize(dir, s.Width, s.Height);
    GObject object;
    object.SetSize(800, 600, CFG.Scalex, CFG.Scaley);
    object.SetCoord(400, 300, CFG.Scalex, CFG.Scaley);
    EXPECT_EQ(object.GetXSize(), s.SizeX);
    EXPECT_EQ(object.GetYSize(), s.SizeY);
    EXPECT_EQ(object.GetX(), s.CoordX);
    EXPECT_EQ(object.GetY(), s.CoordY);
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreenGeometry,
                         ::testing::Values(Screen{800, 600, 800, 600, 400, 300},
                                           Screen{1024, 768, 1023, 767, 511, 383},
                                           Screen{1280, 1024, 1280, 1024, 640, 512},
                                           Screen{1600, 1200, 1600, 1200, 800, 600}),
                         [](const ::testing::TestParamInfo<Screen>& info) {
                             return std::to_string(info.param.Width) + "x" + std::to_string(info.param.Height);
                         });

TEST(GObject, ZLevelIsLimitedByVisibleLayers) {
    TempDir dir;
    ReadScreenSize(dir, 800, 600, "VClayers 10\n");
    GObject object;
    object.SetZLevel(200);
    EXPECT_EQ(object.GetZLevel(), 9);
    object.SetZLevel(9);
    EXPECT_EQ(object.GetZLevel(), 9);
    object.SetZLevel(3);
    EXPECT_EQ(object.GetZLevel(), 3);
}

TEST(GObject, DefaultLayersPassEveryLevel) {
    GObject object;
    object.SetZLevel(255);
    EXPECT_EQ(object.GetZLevel(), 255);
}

TEST(GObjectLayers, ShowFilesTheDescriptorOnceAndHideRemovesIt) {
    GraphicsWorld world;
    const unsigned int desc = CreateSprite();
    GObject* object = GetGObject(desc);
    ASSERT_NE(object, nullptr);
    CCategory* layer = VisibleLayer(0);
    const unsigned int before = layer->GetNum();

    DebugLogReset();
    object->Show();
    EXPECT_EQ(object->VQnum, 0);
    EXPECT_EQ(layer->GetNum(), before + 1);
    EXPECT_EQ(ItemDesc(layer, 0), desc);
    EXPECT_TRUE(TraceHas("In show: z_level=0Udesc=0\n")) << DebugLogText();
    EXPECT_TRUE(TraceHas("\nVQnum=0\n")) << DebugLogText();

    DebugLogReset();
    object->Show();
    EXPECT_EQ(layer->GetNum(), before + 1);
    EXPECT_STREQ(DebugLogText(), "");

    object->Hide();
    EXPECT_EQ(object->VQnum, -1);
    EXPECT_EQ(layer->GetNum(), before);
    DebugLogReset();
    object->Hide();
    EXPECT_EQ(layer->GetNum(), before);
    EXPECT_STREQ(DebugLogText(), "");
}

TEST(GObjectLayers, HideLevelShowMovesTheEntryToTheNewLayer) {
    GraphicsWorld world;
    const unsigned int first = CreateSprite();
    const unsigned int second = CreateSprite();
    GetGObject(first)->Show();
    GObject* object = GetGObject(second);
    object->Show();
    EXPECT_EQ(object->VQnum, 1);
    EXPECT_EQ(VisibleLayer(0)->GetNum(), 2u);

    object->Hide();
    object->SetZLevel(7);
    object->Show();
    EXPECT_EQ(VisibleLayer(0)->GetNum(), 1u);
    EXPECT_EQ(VisibleLayer(7)->GetNum(), 1u);
    EXPECT_EQ(object->VQnum, 0);
    EXPECT_EQ(ItemDesc(VisibleLayer(7), 0), second);
    EXPECT_EQ(ItemDesc(VisibleLayer(0), 0), first);

    // SetZLevel alone does not move a shown object: Hide takes it from 7.
    object->SetZLevel(7);
    object->Hide();
    EXPECT_EQ(VisibleLayer(7)->GetNum(), 0u);
    EXPECT_EQ(VisibleLayer(0)->GetNum(), 1u);
}

TEST(GObjectLayers, ShowOnAFullLayerLeavesTheObjectHidden) {
    WorldOptions options;
    options.Extra = "VCCsize 2";
    GraphicsWorld world(options);
    // The two catalogs are not filed anywhere, so layer 0 holds nothing yet.
    const unsigned int a = CreateSprite(), b = CreateSprite(), c = CreateSprite();
    GetGObject(a)->Show();
    GetGObject(b)->Show();
    DebugLogReset();
    GObject* third = GetGObject(c);
    third->Show();
    EXPECT_EQ(third->VQnum, -1);
    EXPECT_TRUE(TraceHas("VQnum=-1\n")) << DebugLogText();
    EXPECT_EQ(VisibleLayer(0)->GetNum(), 2u);

    GetGObject(a)->Hide();
    third->Show();
    EXPECT_EQ(third->VQnum, 0);
}

TEST(GObjectLayers, ObjectsOfAWindowAreFiledInTheWindowsLayers) {
    GraphicsWorld world;
    short windowParams[2] = {10, 0};
    const unsigned int window = static_cast<unsigned int>(GDT.CreateDescriptor(TypeWindow, windowParams, 5));
    DTable* table = ObjectOf<Window>(window)->GetTable();
    short params[2] = {0, 0};
    const unsigned int desc = static_cast<unsigned int>(table->CreateDescriptor(TypeText, params, 1));
    GObject* object = GetGObject(desc);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetUDesc(), window);
    object->SetZLevel(3);
    object->Show();
    CCategory* layer = (*GetLayerCatalog(window))[3u];
    EXPECT_EQ(layer->GetNum(), 1u);
    EXPECT_EQ(ItemDesc(layer, object->VQnum), desc);
    EXPECT_EQ(VisibleLayer(3)->GetNum(), 0u);
    object->Hide();
    EXPECT_EQ(layer->GetNum(), 0u);
}

TEST(GObjectLayers, AnOwnerThatIsNotACatalogTouchesNoLayer) {
    GraphicsWorld world;
    GObject object;
    object.UDesc = 12345;
    object.Desc = 7;
    object.Show();
    EXPECT_EQ(object.VQnum, -1);
    object.UDesc = CreateSprite();  // a sprite has no layers
    object.Show();
    EXPECT_EQ(object.VQnum, -1);
    for (unsigned int z = 0; z < 256; ++z) ASSERT_EQ(VisibleLayer(z)->GetNum(), 0u);
}
