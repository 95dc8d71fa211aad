#pragma once

#include <algorithm>

#include "glimmer/resources/CItem.h"

// A fixed-capacity array of items; positions are stable handles.
class CCategory {
public:
    CItem* Data;  // owned array of MaxNum items, or null
    unsigned int Num;     // items taken
    unsigned int MaxNum;  // capacity, fixed by Init
    unsigned int Index;   // the category's number in its catalog
    char Empty;           // no storage yet (1) or storage set up (0)
    char* Name;           // owned, or null

    CCategory();
    ~CCategory();
    CCategory(const CCategory&) = delete;
    CCategory& operator=(const CCategory&) = delete;

    int Init(unsigned int n);
    int Initializing(unsigned int index, unsigned int n);
    int AddItem(char* data, unsigned int size);
    int AddItem(CItem& item);
    void RemoveItem(unsigned int position);
    CItem* operator[](unsigned int position) { return Data && position < MaxNum ? &Data[position] : nullptr; }
    CItem* operator[](int position) { return (*this)[static_cast<unsigned int>(position)]; }
    CItem* operator[](const char* name);
    void Clear();
    void SetName(const char* name);
    const char* GetName() const { return Name; }
    unsigned int GetNum() { return Num; }
    unsigned int GetMaxNum() { return MaxNum; }
    char IsEmpty() { return Empty; }
};

// Calls visit(desc) with the descriptor filed in each used item, in slot
// order, until visit returns false; returns how many items it met. Drawing
// and mouse dispatch walk their layers this way.
//
// Each item keeps its descriptor in a block of its own, and what visit looks
// up by it lies elsewhere again. So that those loads overlap rather than wait
// for each other, the walk asks for the block of the item a few places ahead
// and hands the descriptor of a nearer one to ahead(desc), which may start
// loading what visit will need for it. ahead must change nothing: visit may
// still change the layer before that item's turn comes.
template <class Visit, class Ahead>
unsigned int ForEachFiled(CCategory& layer, Visit&& visit, Ahead&& ahead) {
    if (layer.IsEmpty()) return 0;
    constexpr unsigned int BlockDistance = 16;
    constexpr unsigned int AheadDistance = 8;
    const unsigned int filed = layer.GetNum();
    const unsigned int size = layer.GetMaxNum();
    unsigned int left = filed;
    // The next used slot at or after from, or size once every filed item
    // has been passed (the rest of a layer is mostly empty slots).
    auto nextUsed = [&](unsigned int from, unsigned int& passed) {
        if (passed >= filed) return size;
        while (from < size && layer[from]->IsEmpty()) ++from;
        if (from < size) ++passed;
        return from;
    };
    unsigned int blockPassed = 0, aheadPassed = 0;
    unsigned int block = nextUsed(0, blockPassed), aheadAt = nextUsed(0, aheadPassed);
    for (unsigned int k = 0; k < BlockDistance && block < size; ++k) {
        __builtin_prefetch(layer[block]->Data);
        if (k < AheadDistance) aheadAt = nextUsed(aheadAt + 1, aheadPassed);
        block = nextUsed(block + 1, blockPassed);
    }
    unsigned int met = 0;
    for (unsigned int i = 0; i < size && left > 0; ++i) {
        CItem* item = layer[i];
        if (item->IsEmpty()) continue;
        if (block < size) {
            __builtin_prefetch(layer[block]->Data);
            block = nextUsed(block + 1, blockPassed);
        }
        if (aheadAt < size) {
            unsigned int coming = 0;
            layer[aheadAt]->GetData(reinterpret_cast<char*>(&coming), sizeof coming);
            ahead(coming);
            aheadAt = nextUsed(aheadAt + 1, aheadPassed);
        }
        unsigned int desc = 0;
        item->GetData(reinterpret_cast<char*>(&desc), sizeof desc);
        --left;
        ++met;
        if (!visit(desc)) break;
    }
    return met;
}

// For a walk over many layers holding a few items each, where the look-ahead
// of ForEachFiled within one layer seldom starts: asks for the first slots of
// all n layers, then for their blocks, then hands their descriptors to
// ahead(desc), each step for every layer before the next step. Changes nothing.
template <class Ahead>
void PrefetchLayers(CCategory* layers, unsigned int n, Ahead&& ahead) {
    constexpr unsigned int Items = 4;
    if (!layers) return;
    for (unsigned int l = 0; l < n; ++l)
        if (layers[l].Data && layers[l].Num > 0) __builtin_prefetch(layers[l].Data);
    for (unsigned int l = 0; l < n; ++l) {
        const CCategory& layer = layers[l];
        const unsigned int items = layer.Data && layer.Num > 0 ? std::min(Items, layer.MaxNum) : 0;
        for (unsigned int i = 0; i < items; ++i)
            if (!layer.Data[i].Empty) __builtin_prefetch(layer.Data[i].Data);
    }
    for (unsigned int l = 0; l < n; ++l) {
        CCategory& layer = layers[l];
        const unsigned int items = layer.Data && layer.Num > 0 ? std::min(Items, layer.MaxNum) : 0;
        for (unsigned int i = 0; i < items; ++i) {
            if (layer.Data[i].Empty) continue;
            unsigned int desc = 0;
            layer.Data[i].GetData(reinterpret_cast<char*>(&desc), sizeof desc);
            ahead(desc);
        }
    }
}

template <class Visit>
unsigned int ForEachFiled(CCategory& layer, Visit&& visit) {
    return ForEachFiled(layer, visit, [](unsigned int) {});
}
