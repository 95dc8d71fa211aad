#include <gtest/gtest.h>

#include <string>

#include <glimmer/glimmer.h>
#include "tests/support/TestWorld.h"

namespace {

// A code without a class: it takes a slot and creates nothing.
constexpr int Plain = 9;

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

int CatalogsDestroyed() { return Count(DebugLogText(), "Destructing Catalog\n"); }

// A window of the given number of slots created in a table.
unsigned long NewWindow(DTable& table, int slots) {
    short params[2] = {4, 0};
    return table.CreateDescriptor(TypeWindow, params, static_cast<unsigned long>(slots));
}

Window* WindowAt(unsigned long desc) { return ObjectOf<Window>(desc); }

}  // namespace

TEST(DescriptorTable, NumbersGdtSlotsFromZero) {
    DebugLogReset();
    GDT.CreateDT(20);
    EXPECT_TRUE(TraceHas("Creating DTable with 20indexes\n"));
    EXPECT_EQ(GDT.CreateDescriptor(TypeCatalog, nullptr, 256), 0u);
    EXPECT_EQ(GDT.CreateDescriptor(TypeCatalog, nullptr, 256), 1u);
    EXPECT_EQ(GDT.Num, 2u);
    EXPECT_EQ(GDT.GetData(1)->Type, static_cast<unsigned int>(TypeCatalog));
    EXPECT_EQ(ObjectOf<Catalog>(1ul)->CategoryNum, 256u);
    EXPECT_EQ(ObjectOf<Catalog>(1ul)->Desc, 1u);
    EXPECT_TRUE(TraceHas("Catalog initializing Desc=1 categoryes=256\n"));
}

TEST(DescriptorTable, ReusesLowestFreeSlot) {
    GDT.CreateDT(20);
    for (unsigned long d = 0; d <= 5; ++d) ASSERT_EQ(GDT.CreateDescriptor(Plain, nullptr, 1), d);
    GDT.FreeDescriptor(3);
    EXPECT_EQ(GDT.Num, 5u);
    EXPECT_EQ(GDT.CreateDescriptor(Plain, nullptr, 1), 3u);
    EXPECT_EQ(GDT.CreateDescriptor(Plain, nullptr, 1), 6u);
    GDT.FreeDescriptorByNum(1);
    EXPECT_EQ(GDT.CreateDescriptor(Plain, nullptr, 1), 1u);
}

TEST(DescriptorTable, CodesWithoutClassTakeASlotWithoutObject) {
    GDT.CreateDT(4);
    unsigned long d = GDT.CreateDescriptor(7, nullptr, 1);
    ASSERT_NE(GDT.GetData(d), nullptr);
    EXPECT_EQ(GDT.GetData(d)->Used, 1u);
    EXPECT_EQ(GDT.GetData(d)->Type, 7u);
    EXPECT_EQ(GDT[d], nullptr);
    EXPECT_EQ(GetGObject(d), nullptr);
    EXPECT_EQ(GetLayerCatalog(d), nullptr);
}

TEST(DescriptorTable, FullTableEndsWithCodeThree) {
    EXPECT_EXIT(
        {
            GDT.CreateDT(2);
            GDT.CreateDescriptor(Plain, nullptr, 1);
            GDT.CreateDescriptor(Plain, nullptr, 1);
            GDT.CreateDescriptor(Plain, nullptr, 1);
        },
        ::testing::ExitedWithCode(3), "INFO MESSAGE:\tNo free descriptors left");
    EXPECT_EXIT(
        {
            DTable empty;
            empty.CreateDescriptor(TypeCatalog, nullptr, 1);
        },
        ::testing::ExitedWithCode(3), "No free descriptors left");
}

TEST(DescriptorTable, NumbersWindowRangesAfterGdtSlotsAndAfterTheLastListedRange) {
    GDT.CreateDT(20);
    DebugLogReset();
    unsigned long first = NewWindow(GDT, 3000);
    EXPECT_TRUE(TraceHas("In Register DRange MLimit=20\n"));
    unsigned long second = NewWindow(GDT, 100);
    EXPECT_EQ(WindowAt(first)->Table.Start, 20u);
    EXPECT_EQ(WindowAt(first)->Table.Descriptors[2999].Desc, 3019u);
    EXPECT_EQ(WindowAt(second)->Table.Start, 3020u);
    EXPECT_EQ(WindowAt(second)->Table.Descriptors[99].Desc, 3119u);

    GDT.FreeDescriptor(static_cast<unsigned int>(first));
    EXPECT_EQ(GDT.RangeStart[0], 3020u);  // later entries move down, numbers unchanged
    EXPECT_EQ(GDT.RangeOwner[0], second);
    unsigned long third = NewWindow(GDT, 50);
    EXPECT_EQ(WindowAt(third)->Table.Start, 3120u);
    EXPECT_EQ(WindowAt(third)->Table.Descriptors[49].Desc, 3169u);

    GDT.FreeDescriptor(static_cast<unsigned int>(second));
    GDT.FreeDescriptor(static_cast<unsigned int>(third));
    unsigned long fourth = NewWindow(GDT, 10);
    EXPECT_EQ(WindowAt(fourth)->Table.Start, 20u);
}

TEST(DescriptorTable, ReusesTheNumbersOfTheLastListedRangeOnly) {
    GDT.CreateDT(5);
    EXPECT_EQ(GDT.RegisterDRange(10, 1), 5u);
    EXPECT_EQ(GDT.RegisterDRange(10, 2), 15u);
    EXPECT_EQ(GDT.RegisterDRange(10, 3), 25u);
    GDT.UnregisterDRange(3);
    EXPECT_EQ(GDT.RegisterDRange(4, 4), 25u);
    GDT.UnregisterDRange(77);  // no such owner: nothing changes
    EXPECT_EQ(GDT.RangeOwner[2], 4u);
    EXPECT_EQ(GDT.RegisterDRange(1, 5), 29u);
    EXPECT_EQ(GDT.RegisterDRange(1, 6), 30u);
    EXPECT_EQ(GDT.RegisterDRange(1, 7), 0u);  // as many ranges as slots
    EXPECT_EQ(GDT.RegisterDRange(-1, 8), 0u);
}

TEST(DescriptorTable, FindsRecordsInsideAWindowThroughGdt) {
    GDT.CreateDT(20);
    unsigned long w = NewWindow(GDT, 3000);
    DTable& inner = WindowAt(w)->Table;
    unsigned long first = inner.CreateDescriptor(TypeCatalog, nullptr, 1);
    unsigned long plain = inner.CreateDescriptor(Plain, nullptr, 1);
    EXPECT_EQ(first, 20u);
    EXPECT_EQ(plain, 21u);
    EXPECT_EQ(inner.Num, 2u);

    EXPECT_EQ(GDT.GetData(20), &inner.Descriptors[0]);
    EXPECT_EQ(GDT[20ul], inner.Descriptors[0].Object);
    EXPECT_EQ(GetLayerCatalog(20), inner.Descriptors[0].Object);
    EXPECT_EQ(GDT.GetData(21)->Type, static_cast<unsigned int>(Plain));
    // A free slot's number gives its record, with nothing in it.
    Descriptor* last = GDT.GetData(3019);
    ASSERT_EQ(last, &inner.Descriptors[2999]);
    EXPECT_EQ(last->Used, 0u);
    EXPECT_EQ(GDT[3019ul], nullptr);
    EXPECT_EQ(GDT.GetParams(3019), nullptr);

    EXPECT_EQ(GDT.GetData(3020), nullptr);
    EXPECT_EQ(GDT[4000000000ul], nullptr);
    EXPECT_EQ(GDT.GetData(15), &GDT.Descriptors[15]);  // free own slot
    EXPECT_EQ(GDT.GetNumByDesc(15), 15);
    EXPECT_EQ(GDT.GetNumByDesc(20), 0);
    EXPECT_EQ(inner.GetNumByDesc(3019), 2999);
}

TEST(DescriptorTable, FindsEachWindowsObjectsAmongManyRanges) {
    GDT.CreateDT(50);
    unsigned long windows[40];
    for (unsigned long& w : windows) {
        w = NewWindow(GDT, 3);
        WindowAt(w)->Table.CreateDescriptor(Plain, nullptr, 1);
    }
    for (int i = 0; i < 40; i += 2) GDT.FreeDescriptor(static_cast<unsigned int>(windows[i]));
    for (int i = 0; i < 40; ++i) {
        SCOPED_TRACE(i);
        unsigned int first = 50 + 3 * i;  // ranges keep their numbers after removals
        if (i % 2 == 0) {
            EXPECT_EQ(GDT.GetData(first), nullptr);
            EXPECT_EQ(GDT.GetData(first + 2), nullptr);
        } else {
            DTable& table = WindowAt(windows[i])->Table;
            EXPECT_EQ(GDT.GetData(first), &table.Descriptors[0]);
            EXPECT_EQ(GDT.GetData(first + 2), &table.Descriptors[2]);
            EXPECT_EQ(GDT.GetData(first)->Used, 1u);
        }
    }
    EXPECT_EQ(GDT.GetData(50 + 3 * 40), nullptr);
    EXPECT_EQ(GDT.RegisterDRange(1, 49), 50u + 3 * 40);
}

TEST(DescriptorTable, FindsNothingThroughARangeOnceItIsUnregistered) {
    GDT.CreateDT(10);
    unsigned long first = NewWindow(GDT, 3);  // 10..12
    DTable& firstTable = WindowAt(first)->Table;
    ASSERT_EQ(GDT.GetData(10), &firstTable.Descriptors[0]);
    GDT.UnregisterDRange(first);
    EXPECT_EQ(GDT.GetData(10), nullptr);
    // The numbers go to the next window, though the first one lives on.
    unsigned long second = NewWindow(GDT, 3);
    EXPECT_EQ(GDT.GetData(11), &WindowAt(second)->Table.Descriptors[1]);
}

// Slot by slot: the slot's own number, then range entry i, descending into
// the owning window found among the table's own slots.
Descriptor* WalkGetData(DTable& t, unsigned int desc) {
    for (int i = 0; i < t.MLimit; ++i) {
        if (t.Descriptors[i].Desc == desc) return &t.Descriptors[i];
        if (t.RangeStart[i] <= desc && desc < t.RangeStart[i] + t.RangeSize[i]) {
            int owner = 0;
            while (owner < t.MLimit && t.Descriptors[owner].Desc != t.RangeOwner[i]) ++owner;
            if (owner == t.MLimit || t.Descriptors[owner].Type != TypeWindow) continue;
            if (Descriptor* found = WalkGetData(static_cast<Window*>(t.Descriptors[owner].Object)->Table, desc))
                return found;
        }
    }
    return nullptr;
}

TEST(DescriptorTable, LookupsAgreeWithAWalkOverEverySlot) {
    GDT.CreateDT(12);
    unsigned int seed = 12345;
    auto next = [&seed](unsigned int span) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % span;
    };
    for (int step = 0; step < 300; ++step) {
        unsigned int slot = next(12);
        Descriptor& record = GDT.Descriptors[slot];
        if (record.Used) {
            GDT.FreeDescriptorByNum(slot);
        } else if (GDT.Num + 1 < 12u && next(2) == 0) {
            unsigned long w = NewWindow(GDT, 1 + static_cast<int>(next(6)));
            DTable& table = WindowAt(w)->Table;
            for (unsigned int k = next(4); k > 0 && table.Num < static_cast<unsigned int>(table.MLimit); --k)
                table.CreateDescriptor(Plain, nullptr, 1);
        } else if (GDT.Num + 1 < 12u) {
            GDT.CreateDescriptor(Plain, nullptr, 1);
        }
        for (unsigned int d = 0; d < 200; ++d) ASSERT_EQ(GDT.GetData(d), WalkGetData(GDT, d)) << step << " " << d;
    }
}

TEST(DescriptorTable, RangeEndingAtTwiceTheTableSizeIsStillARange) {
    GDT.CreateDT(20);
    unsigned long w = NewWindow(GDT, 20);
    EXPECT_EQ(GDT.RangeStart[0], 20u);
    EXPECT_EQ(GDT.RangeSize[0], 20u);
    EXPECT_EQ(GDT.GetData(39), &WindowAt(w)->Table.Descriptors[19]);
    EXPECT_EQ(GDT.GetData(40), nullptr);
}

TEST(DescriptorTable, FindsObjectsOfAWindowInsideAWindow) {
    GDT.CreateDT(20);
    unsigned long outer = NewWindow(GDT, 100);  // 20..119
    DTable& outerTable = WindowAt(outer)->Table;
    unsigned long nested = NewWindow(outerTable, 10);  // 120..129
    EXPECT_EQ(nested, 20u);
    EXPECT_EQ(GDT.GetParams(static_cast<unsigned int>(nested))[0], 4);
    DTable& nestedTable = WindowAt(nested)->Table;
    EXPECT_EQ(nestedTable.Start, 120u);
    unsigned long deep = nestedTable.CreateDescriptor(TypeCatalog, nullptr, 3);
    EXPECT_EQ(deep, 120u);
    EXPECT_EQ(GDT.GetData(120), &nestedTable.Descriptors[0]);
    EXPECT_EQ(GetLayerCatalog(120)->CategoryNum, 3u);

    // Freeing the outer window takes the nested one and its range with it.
    DebugLogReset();
    GDT.FreeDescriptor(static_cast<unsigned int>(outer));
    EXPECT_EQ(CatalogsDestroyed(), 1 + 2);  // the catalog and both windows' layers
    EXPECT_EQ(GDT.GetData(120), nullptr);
    EXPECT_EQ(GDT.RangeSize[0], 0u);
    EXPECT_EQ(GDT.RegisterDRange(1, 99), 20u);
}

TEST(DescriptorTable, NeverTakesAnObjectThatIsNotAWindowForATable) {
    GDT.CreateDT(10);
    unsigned long catalog = GDT.CreateDescriptor(TypeCatalog, nullptr, 2);
    unsigned long plain = GDT.CreateDescriptor(Plain, nullptr, 1);
    ASSERT_EQ(GDT.RegisterDRange(5, catalog), 10u);  // 10..14
    ASSERT_EQ(GDT.RegisterDRange(5, plain), 15u);    // 15..19
    ASSERT_EQ(GDT.RegisterDRange(5, 9), 20u);        // owner is a free slot
    ASSERT_EQ(GDT.RegisterDRange(5, 500), 25u);      // owner registered nowhere
    for (unsigned int d = 10; d < 30; ++d) {
        EXPECT_EQ(GDT.GetData(d), nullptr) << d;
        EXPECT_EQ(GDT[d], nullptr) << d;
        EXPECT_EQ(GDT.GetParams(d), nullptr) << d;
    }
    GDT.FreeDescriptor(12);  // changes nothing
    EXPECT_EQ(GDT.Num, 2u);
}

TEST(DescriptorTable, ParametersAreAnOwnedCopy) {
    GDT.CreateDT(4);
    short params[2] = {10, -20};
    unsigned long with = GDT.CreateDescriptor(Plain, params, 1);
    unsigned long without = GDT.CreateDescriptor(Plain, nullptr, 1);
    EXPECT_EQ(GDT.GetParams(static_cast<unsigned int>(without)), nullptr);

    params[0] = 99;
    short* live = GDT.GetParams(static_cast<unsigned int>(with));
    ASSERT_NE(live, nullptr);
    EXPECT_NE(live, params);
    EXPECT_EQ(live[0], 10);
    EXPECT_EQ(live[1], -20);
    live[1] = 7;
    EXPECT_EQ(GDT.GetParams(static_cast<unsigned int>(with))[1], 7);
}

TEST(DescriptorTable, WindowSeesItsParametersThroughGdt) {
    GDT.CreateDT(4);
    short params[2] = {0, 0};
    unsigned long w = GDT.CreateDescriptor(TypeWindow, params, 10);
    EXPECT_EQ(GDT.GetParams(static_cast<unsigned int>(w))[0], 1000);
    EXPECT_EQ(params[0], 0);
}

TEST(DescriptorTable, DestroysEachObjectOnce) {
    DebugLogReset();
    {
        DTable table;
        table.CreateDT(3);
        unsigned long a = table.CreateDescriptor(TypeCatalog, nullptr, 1);
        table.CreateDescriptor(TypeCatalog, nullptr, 1);
        table.FreeDescriptor(static_cast<unsigned int>(a));
        EXPECT_EQ(CatalogsDestroyed(), 1);
        EXPECT_EQ(table.Num, 1u);
        table.FreeDescriptor(static_cast<unsigned int>(a));
        table.FreeDescriptorByNum(0);
        table.FreeDescriptorByNum(3);
        table.FreeDescriptor(1000);
        EXPECT_EQ(CatalogsDestroyed(), 1);
        EXPECT_EQ(table.Num, 1u);
    }
    EXPECT_EQ(CatalogsDestroyed(), 2);
}

TEST(DescriptorTable, FreeingInsideAWindowLowersThatTablesCount) {
    GDT.CreateDT(5);
    unsigned long w = NewWindow(GDT, 10);
    DTable& inner = WindowAt(w)->Table;
    unsigned long d = inner.CreateDescriptor(TypeCatalog, nullptr, 1);
    DebugLogReset();
    GDT.FreeDescriptor(static_cast<unsigned int>(d));
    EXPECT_EQ(CatalogsDestroyed(), 1);
    EXPECT_EQ(inner.Num, 0u);
    EXPECT_EQ(GDT.Num, 1u);
    EXPECT_EQ(GDT.RangeStart[0], 5u);  // the window keeps its range
    EXPECT_EQ(inner.CreateDescriptor(Plain, nullptr, 1), d);
}

TEST(DescriptorTable, CreatingSlotsAgainFreesTheOldObjects) {
    GDT.CreateDT(3);
    GDT.CreateDescriptor(TypeCatalog, nullptr, 1);
    NewWindow(GDT, 10);
    DebugLogReset();
    GDT.CreateDT(5);
    EXPECT_EQ(CatalogsDestroyed(), 2);
    EXPECT_EQ(GDT.Num, 0u);
    EXPECT_EQ(GDT.MLimit, 5);
    EXPECT_EQ(GDT.RegisterDRange(1, 1), 5u);
}

TEST(DescriptorTable, FreeStandingTableTakesItsNumbersFromGdt) {
    GDT.CreateDT(20);
    NewWindow(GDT, 30);  // 20..49
    DTable table;
    table.Initializing(7, 40);
    EXPECT_EQ(table.Desc, 7u);
    EXPECT_EQ(table.Start, 50u);
    EXPECT_EQ(table.MLimit, 0);
    ASSERT_EQ(table.CreateSlots(table.Start, 40), 1);
    EXPECT_EQ(table.CreateDescriptor(Plain, nullptr, 1), 50u);
    EXPECT_EQ(table.GetData(50)->Type, static_cast<unsigned int>(Plain));

    // Slots made before the range was reserved keep the numbers they carry.
    DTable early;
    ASSERT_EQ(early.CreateSlots(0, 4), 1);
    early.Initializing(8, 4);
    EXPECT_EQ(early.Start, 90u);
    EXPECT_EQ(early.CreateDescriptor(TypeSprite, nullptr, 1), 0u);
    EXPECT_EQ(early.CreateDescriptor(Plain, nullptr, 1), 1u);
    ASSERT_NE(early[0ul], nullptr);
    EXPECT_EQ(static_cast<Sprite*>(early[0ul])->Desc, 0u);
    EXPECT_EQ(early.GetData(1)->Type, static_cast<unsigned int>(Plain));
    EXPECT_EQ(early.GetNumByDesc(1), 1);
    EXPECT_EQ(early.GetData(90), nullptr);
    early.FreeDescriptor(0);
    EXPECT_EQ(early.Num, 1u);

    EXPECT_EXIT(
        {
            DTable lonely;
            GDT.CreateDT(0);
            lonely.Initializing(3, 10);
        },
        ::testing::ExitedWithCode(3), "No free descriptors left");
}

TEST(DescriptorTable, HandsOutTheGraphicAndCatalogPartsAndObjectsOfTheirOwnType) {
    GDT.CreateDT(8);
    unsigned long sprite = GDT.CreateDescriptor(TypeSprite, nullptr, 1);
    unsigned long button = GDT.CreateDescriptor(TypeButton, nullptr, 1);
    unsigned long text = GDT.CreateDescriptor(TypeText, nullptr, 1);
    unsigned long window = NewWindow(GDT, 5);
    unsigned long catalog = GDT.CreateDescriptor(TypeCatalog, nullptr, 1);

    EXPECT_EQ(GetGObject(sprite), static_cast<GObject*>(ObjectOf<Sprite>(sprite)));
    EXPECT_EQ(GetGObject(button), static_cast<GObject*>(ObjectOf<Button>(button)));
    EXPECT_EQ(GetGObject(text), static_cast<GObject*>(ObjectOf<CText>(text)));
    for (unsigned long d : {sprite, button, text}) {
        EXPECT_EQ(GetGObject(d)->Desc, d);
        EXPECT_EQ(GetGObject(d)->UDesc, 0u);
        EXPECT_EQ(GetLayerCatalog(d), nullptr);
    }
    Window* w = WindowAt(window);
    EXPECT_EQ(GetGObject(window), static_cast<GObject*>(w));
    EXPECT_EQ(GetLayerCatalog(window), static_cast<Catalog*>(w));
    EXPECT_EQ(GetLayerCatalog(window)->CategoryNum, 256u);
    EXPECT_EQ(GetLayerCatalog(catalog), GDT[catalog]);
    EXPECT_EQ(GetGObject(catalog), nullptr);
    EXPECT_EQ(GetGObject(7), nullptr);
    EXPECT_EQ(GetLayerCatalog(1000), nullptr);

    // A typed lookup gives an object only as the type it was created as.
    EXPECT_EQ(ObjectOf<Sprite>(sprite), GDT[sprite]);
    EXPECT_EQ(ObjectOf<Window>(sprite), nullptr);
    EXPECT_EQ(ObjectOf<Sprite>(catalog), nullptr);
    EXPECT_EQ(ObjectOf<Button>(1000), nullptr);
    GDT.FreeDescriptor(static_cast<unsigned int>(sprite));
    EXPECT_EQ(ObjectOf<Sprite>(sprite), nullptr);
}
