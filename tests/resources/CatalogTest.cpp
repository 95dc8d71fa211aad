#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <glimmer/glimmer.h>
#include "tests/support/TestWorld.h"

namespace {

char* Bytes(unsigned int& value) { return reinterpret_cast<char*>(&value); }

unsigned int DescriptorIn(CItem* item) {
    unsigned int value = 0;
    std::memcpy(&value, item->GetData(), sizeof value);
    return value;
}

}  // namespace

TEST(Item, OwnsACopyOfDataWithASize) {
    char text[] = "abcd";
    CItem item;
    EXPECT_EQ(item.IsEmpty(), 1);
    item.SetData(text, 4);
    text[0] = 'X';
    EXPECT_EQ(item.IsEmpty(), 0);
    EXPECT_EQ(item.GetSize(), 4u);
    EXPECT_NE(item.GetData(), text);
    EXPECT_EQ(std::string(item.GetData(), 4), "abcd");

    char buffer[8] = "-------";
    item.GetData(buffer, 2);
    EXPECT_STREQ(buffer, "ab-----");
    item.GetData(buffer, 0);  // 0 means all of it
    EXPECT_STREQ(buffer, "abcd---");
    item.GetData(buffer, 7);  // never more than it holds
    EXPECT_STREQ(buffer, "abcd---");

    item.Clear();
    EXPECT_EQ(item.IsEmpty(), 1);
    EXPECT_EQ(item.GetSize(), 0u);
    EXPECT_EQ(item.GetData(), nullptr);
}

TEST(Item, HoldsDataOfSizeZeroByReferenceAndNeverReleasesIt) {
    char text[] = "borrowed";
    char buffer[4] = "---";
    {
        CItem item;
        item.SetData(text, 0);
        EXPECT_EQ(item.GetData(), text);
        item.GetData(buffer, 3);
        EXPECT_STREQ(buffer, "---");
        item.Clear();
        EXPECT_STREQ(text, "borrowed");
        item.SetData(text, 0);
    }
    EXPECT_STREQ(text, "borrowed");
}

TEST(Item, CopiesAreIndependent) {
    char text[] = "data";
    CItem original;
    original.SetData(text, 4);
    original.SetName("main");

    CItem copy(original);
    EXPECT_EQ(copy.GetSize(), 4u);
    EXPECT_EQ(copy.IsEmpty(), 0);
    EXPECT_NE(copy.GetData(), original.GetData());
    EXPECT_STREQ(copy.GetName(), "main");

    CItem assigned;
    char other[] = "xy";
    assigned.SetData(other, 2);
    assigned.SetName("old");
    DebugLogReset();
    assigned = original;
    EXPECT_TRUE(TraceHas("Citem=Citem\n"));
    original.GetData()[0] = 'D';
    original.SetName("renamed");
    EXPECT_EQ(std::string(assigned.GetData(), 4), "data");
    EXPECT_STREQ(assigned.GetName(), "main");
    EXPECT_EQ(std::string(copy.GetData(), 4), "data");

    CItem unnamed;
    unnamed.SetData(text, 4);
    assigned = unnamed;
    EXPECT_EQ(assigned.GetName(), nullptr);
}

TEST(Category, GivesLowestFreePositionAndMinusOneWhenFull) {
    CCategory layer;
    ASSERT_EQ(layer.Init(3), 1);
    unsigned int d = 7;
    EXPECT_EQ(layer.AddItem(Bytes(d), 4), 0);
    EXPECT_EQ(layer.AddItem(Bytes(d), 4), 1);
    EXPECT_EQ(layer.AddItem(Bytes(d), 4), 2);
    EXPECT_EQ(layer.AddItem(Bytes(d), 4), -1);
    EXPECT_EQ(layer.GetNum(), 3u);

    layer.RemoveItem(1);
    EXPECT_EQ(layer.GetNum(), 2u);
    EXPECT_EQ(layer[1]->IsEmpty(), 1);
    EXPECT_EQ(layer.AddItem(Bytes(d), 4), 1);
    EXPECT_EQ(layer.GetNum(), 3u);
}

TEST(Category, WalkVisitsInSlotOrderAndLooksAheadOnlyAtItemsStillToCome) {
    CCategory layer;
    ASSERT_EQ(layer.Init(200), 1);
    for (unsigned int d = 1000; d < 1060; ++d) layer.AddItem(Bytes(d), sizeof d);
    for (int slot = 3; slot < 60; slot += 7) layer.RemoveItem(slot);
    std::vector<unsigned int> filed;
    for (unsigned int slot = 0; slot < 200; ++slot)
        if (!layer[slot]->IsEmpty()) filed.push_back(DescriptorIn(layer[slot]));

    std::vector<unsigned int> visited, ahead;
    const unsigned int met = ForEachFiled(
        layer,
        [&](unsigned int desc) {
            visited.push_back(desc);
            return true;
        },
        [&](unsigned int desc) {
            // Only an item not visited yet, and only once.
            EXPECT_EQ(std::count(visited.begin(), visited.end(), desc), 0) << desc;
            EXPECT_EQ(std::count(ahead.begin(), ahead.end(), desc), 0) << desc;
            ahead.push_back(desc);
        });
    EXPECT_EQ(met, filed.size());
    EXPECT_EQ(visited, filed);
    for (unsigned int desc : ahead) EXPECT_EQ(std::count(filed.begin(), filed.end(), desc), 1) << desc;
    EXPECT_GT(ahead.size(), filed.size() / 2);

    // Across layers it looks at the first items that are filed.
    CCategory layers[3];
    layers[0].Init(10);
    layers[2].Init(10);
    for (unsigned int d = 1; d <= 3; ++d) layers[2].AddItem(Bytes(d), sizeof d);
    layers[2].RemoveItem(1);
    ahead.clear();
    PrefetchLayers(layers, 3, [&](unsigned int desc) { ahead.push_back(desc); });
    EXPECT_EQ(ahead, (std::vector<unsigned int>{1, 3}));

    // Items removed by the visit itself are not visited, and the walk still
    // ends where the visit asks.
    visited.clear();
    ForEachFiled(layer, [&](unsigned int desc) {
        visited.push_back(desc);
        for (int slot = 20; slot < 40; ++slot) layer.RemoveItem(slot);
        return visited.size() < 30;
    });
    ASSERT_EQ(visited.size(), 30u);
    EXPECT_EQ(std::count_if(visited.begin(), visited.end(), [](unsigned int d) { return d >= 1020 && d < 1040; }), 0);
}

TEST(Category, AddingADescriptorCopiesItsBytes) {
    CCategory layer;
    layer.Init(2);
    unsigned int d = 42;
    int at = layer.AddItem(Bytes(d), sizeof d);
    d = 99;
    EXPECT_EQ(DescriptorIn(layer[at]), 42u);
}

TEST(Category, TracesEachAddition) {
    CCategory layer;
    layer.Init(2);
    unsigned int d = 1;
    layer.AddItem(Bytes(d), 4);
    DebugLogReset();
    layer.AddItem(Bytes(d), 4);
    EXPECT_STREQ(DebugLogText(),
                 "CCategory::AddItem.\n"
                 "Num=1of MaxNum=2\n"
                 "Data[1] is empty\n"
                 "=is done\n"
                 "Num=2\n");
}

TEST(Category, RemovingAFreeOrUnknownPositionChangesNothing) {
    CCategory layer;
    layer.Init(3);
    unsigned int d = 5;
    layer.AddItem(Bytes(d), 4);
    layer.RemoveItem(1);
    layer.RemoveItem(3);
    layer.RemoveItem(100000);
    EXPECT_EQ(layer.GetNum(), 1u);
    EXPECT_EQ(layer.AddItem(Bytes(d), 4), 1);
}

TEST(Category, FindsItemsByExactName) {
    CCategory family;
    family.Init(4);
    char a[] = "A", b[] = "B", c[] = "C";
    family[family.AddItem(a, 0)]->SetName("main");
    family.AddItem(c, 0);  // unnamed
    family[family.AddItem(b, 0)]->SetName("system");

    DebugLogReset();
    CItem* found = family["system"];
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->GetData(), b);
    EXPECT_TRUE(TraceHas("Data[0].IName=main\n"));
    EXPECT_TRUE(TraceHas("Data[2].IName=system\n"));
    EXPECT_EQ(family["System"], nullptr);
    EXPECT_EQ(family["missing"], nullptr);
}

TEST(Category, NameSearchStopsAfterTheItemsInUse) {
    CCategory family;
    family.Init(5);
    char a[] = "A", b[] = "B";
    family[family.AddItem(a, 0)]->SetName("first");
    family[family.AddItem(b, 0)]->SetName("second");
    family.RemoveItem(0);
    DebugLogReset();
    EXPECT_EQ(family["second"]->GetData(), b);
    EXPECT_EQ(family["first"], nullptr);
    // Only the one item in use is looked at; the rest are never visited.
    EXPECT_STREQ(DebugLogText(), "Data[1].IName=second\nData[1].IName=second\n");
}

TEST(Category, CapacityZeroHasStorageButTakesNothing) {
    CCategory layer;
    EXPECT_EQ(layer.IsEmpty(), 1);
    EXPECT_EQ(layer.Init(0), 1);
    EXPECT_EQ(layer.IsEmpty(), 0);
    unsigned int d = 1;
    EXPECT_EQ(layer.AddItem(Bytes(d), 4), -1);
}

TEST(Category, ClearDropsStorageButKeepsTheCounts) {
    CCategory layer;
    layer.Initializing(7, 3);
    EXPECT_EQ(layer.Index, 7u);
    unsigned int d = 1;
    layer.AddItem(Bytes(d), 4);
    layer.AddItem(Bytes(d), 4);
    layer.Clear();
    EXPECT_EQ(layer.GetNum(), 2u);
    EXPECT_EQ(layer.GetMaxNum(), 3u);
    EXPECT_EQ(layer.IsEmpty(), 1);
    // Until it is given storage again it takes nothing and finds nothing.
    EXPECT_EQ(layer.AddItem(Bytes(d), 4), -1);
    EXPECT_EQ(layer["x"], nullptr);
    EXPECT_EQ(layer[0u], nullptr);

    layer.Init(2);
    EXPECT_EQ(layer.GetNum(), 0u);
    EXPECT_EQ(layer.AddItem(Bytes(d), 4), 0);
}

TEST(Category, InitAgainDropsEveryItem) {
    CCategory layer;
    layer.Init(2);
    unsigned int d = 3;
    layer.AddItem(Bytes(d), 4);
    layer.Init(4);
    EXPECT_EQ(layer.GetNum(), 0u);
    EXPECT_EQ(layer.GetMaxNum(), 4u);
    EXPECT_EQ(layer[0u]->IsEmpty(), 1);
}

TEST(Category, AddsWholeItemsAsCopies) {
    CCategory list;
    list.Init(2);
    CItem item;
    char text[] = "abc";
    item.SetData(text, 3);
    item.SetName("x");
    DebugLogReset();
    int at = list.AddItem(item);
    EXPECT_EQ(at, 0);
    EXPECT_STREQ(DebugLogText(), "CCategory::AddItem.\nData[0] is empty\nCitem=Citem\n=is done\n");
    item.GetData()[0] = 'Z';
    EXPECT_EQ(std::string(list[at]->GetData(), 3), "abc");
    EXPECT_STREQ(list[at]->GetName(), "x");
    EXPECT_EQ(list.GetNum(), 1u);
    EXPECT_EQ(list.AddItem(item), 1);
    EXPECT_EQ(list.AddItem(item), -1);
}

TEST(Category, NameIsAnOwnedCopy) {
    CCategory family;
    char name[] = "main";
    DebugLogReset();
    family.SetName(name);
    name[0] = 'p';
    EXPECT_STREQ(family.GetName(), "main");
    EXPECT_TRUE(TraceHas("Name setted for CCategory: main\n"));
}

TEST(Catalog, FreshCategoriesHaveNoStorage) {
    DebugLogReset();
    Catalog layers;
    EXPECT_EQ(layers.Initializing(0, 256, 0), 1);
    EXPECT_TRUE(TraceHas("Constructing Catalog\nCatalog initializing Desc=0 categoryes=256\n"));
    EXPECT_EQ(layers.CategoryNum, 256u);
    for (unsigned int i = 0; i < 256; ++i) EXPECT_EQ(layers[i]->IsEmpty(), 1) << i;
    EXPECT_EQ(layers[256u], nullptr);
}

TEST(Catalog, FindsTheFirstCategoryWithAName) {
    Catalog fonts;
    fonts.Initializing(0, 3, 0);
    fonts[1u]->SetName("main");
    fonts[2u]->SetName("main");
    EXPECT_EQ(fonts["main"], fonts[1u]);
    EXPECT_EQ(fonts["Main"], nullptr);
    EXPECT_EQ(fonts[""], nullptr);  // unnamed categories never match
}

TEST(Catalog, InitializingAgainReplacesTheCategories) {
    Catalog c;
    c.Initializing(4, 2, 9);
    c[0u]->Init(3);
    unsigned int d = 1;
    c[0u]->AddItem(Bytes(d), 4);
    c.Initializing(5, 1, 9);
    EXPECT_EQ(c.Desc, 5u);
    EXPECT_EQ(c.CategoryNum, 1u);
    EXPECT_EQ(c[0u]->IsEmpty(), 1);
    EXPECT_EQ(c[0u]->GetNum(), 0u);
}

TEST(Catalog, TracesItsDestruction) {
    {
        Catalog c;
        c.Initializing(0, 1, 0);
        DebugLogReset();
    }
    EXPECT_STREQ(DebugLogText(), "Destructing Catalog\n");
}
