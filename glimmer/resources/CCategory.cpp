#include "glimmer/resources/CCategory.h"

#include <cstring>
#include <new>
#include <ostream>

#include "glimmer/base/EngineInternal.h"
#include "glimmer/base/DebugLog.h"
#include "glimmer/base/Error.h"

CCategory::CCategory() : Data(nullptr), Num(0), MaxNum(0), Index(0), Empty(1), Name(nullptr) {}

CCategory::~CCategory() {
    delete[] Data;
    delete[] Name;
}

int CCategory::Init(unsigned int n) {
    Num = 0;
    MaxNum = n;
    delete[] Data;
    Data = new (std::nothrow) CItem[n];
    if (!Data) {
        DebugLog << "Not Enought Memory" << std::endl;
        Empty = 1;
        return 0;
    }
    Empty = 0;
    return 1;
}

int CCategory::Initializing(unsigned int index, unsigned int n) {
    Index = index;
    return Init(n);
}

int CCategory::AddItem(char* data, unsigned int size) {
    DebugLog << "CCategory::AddItem." << std::endl;
    DebugLog << "Num=" << Num << "of MaxNum=" << MaxNum << std::endl;
    if (Num >= MaxNum || !Data) return -1;
    for (unsigned int i = 0; i < MaxNum; ++i) {
        if (!Data[i].IsEmpty()) continue;
        DebugLog << "Data[" << i << "] is empty" << std::endl;
        Data[i].SetData(data, size);
        DebugLog << "=is done" << std::endl;
        ++Num;
        Empty = 0;
        DebugLog << "Num=" << Num << std::endl;
        return static_cast<int>(i);
    }
    return -1;
}

int CCategory::AddItem(CItem& item) {
    DebugLog << "CCategory::AddItem." << std::endl;
    if (Num >= MaxNum || !Data) return -1;
    for (unsigned int i = 0; i < MaxNum; ++i) {
        if (!Data[i].IsEmpty()) continue;
        DebugLog << "Data[" << i << "] is empty" << std::endl;
        Data[i] = item;
        // An empty source would leave the position free while counted as used.
        Data[i].Empty = 0;
        DebugLog << "=is done" << std::endl;
        ++Num;
        Empty = 0;
        return static_cast<int>(i);
    }
    return -1;
}

void CCategory::RemoveItem(unsigned int position) {
    // Removing a free or unknown position would make Num disagree with the items.
    if (!Data || position >= MaxNum || Data[position].IsEmpty()) return;
    Data[position].Clear();
    --Num;
}

CItem* CCategory::operator[](const char* name) {
    if (!Data || !name) return nullptr;
    unsigned int met = 0;
    for (unsigned int i = 0; i < MaxNum && met < Num; ++i) {
        CItem& item = Data[i];
        if (item.IsEmpty()) continue;
        ++met;
        const char* itemName = item.GetName();
        DebugLog << "Data[" << i << "].IName=" << (itemName ? itemName : "") << std::endl;
        if (itemName && std::strcmp(itemName, name) == 0) return &item;
    }
    return nullptr;
}

void CCategory::Clear() {
    delete[] Data;
    Data = nullptr;
    Empty = 1;
}

void CCategory::SetName(const char* name) {
    DebugLog << "Name setted for CCategory: " << (name ? name : "") << std::endl;
    char* copy = CopyText(name);
    delete[] Name;
    Name = copy;
}

