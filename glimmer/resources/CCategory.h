#pragma once

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
    CItem* operator[](unsigned int position);
    CItem* operator[](int position) { return (*this)[static_cast<unsigned int>(position)]; }
    CItem* operator[](const char* name);
    void Clear();
    void SetName(const char* name);
    const char* GetName() const { return Name; }
    unsigned int GetNum();
    unsigned int GetMaxNum();
    char IsEmpty();
};

// Calls visit(desc) with the descriptor filed in each used item, in slot
// order, until visit returns false; returns how many items it met. Drawing
// and mouse dispatch walk their layers this way.
template <class Visit>
unsigned int ForEachFiled(CCategory& layer, Visit&& visit) {
    if (layer.IsEmpty()) return 0;
    unsigned int left = layer.GetNum();
    const unsigned int size = layer.GetMaxNum();
    unsigned int met = 0;
    for (unsigned int i = 0; i < size && left > 0; ++i) {
        CItem* item = layer[i];
        if (item->IsEmpty()) continue;
        unsigned int desc = 0;
        item->GetData(reinterpret_cast<char*>(&desc), sizeof desc);
        --left;
        ++met;
        if (!visit(desc)) break;
    }
    return met;
}
