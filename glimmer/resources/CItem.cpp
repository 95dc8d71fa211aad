#include "glimmer/resources/CItem.h"

#include <cstring>
#include <new>
#include <ostream>

#include "glimmer/base/EngineInternal.h"
#include "glimmer/base/DebugLog.h"
#include "glimmer/base/Error.h"

CItem::CItem() : Data(nullptr), Empty(1), Size(0), IName(nullptr) {}

CItem::CItem(const CItem& other) : Data(nullptr), Empty(1), Size(0), IName(nullptr) { *this = other; }

CItem& CItem::operator=(const CItem& other) {
    DebugLog << "Citem=Citem" << std::endl;
    if (this == &other) return *this;
    Clear();
    // Only owned data is copied; a borrowed pointer would otherwise be
    // shared with nobody responsible for it, so it is shared as a borrow.
    if (other.Size > 0 && other.Data) {
        Own(other.Data, other.Size);
    } else {
        Data = other.Data;
        Size = 0;
    }
    Empty = other.Empty;
    IName = CopyText(other.IName);
    return *this;
}

CItem::~CItem() {
    FreeOwned();
    delete[] IName;
}

void CItem::FreeOwned() {
    if (Size > 0 && Data != Small) delete[] Data;
}

void CItem::Own(const char* data, unsigned int size) {
    // Copy first: the new data may lie inside the old block.
    char staged[sizeof Small];
    char* copy = staged;
    if (size > sizeof Small) {
        copy = new (std::nothrow) char[size];
        if (!copy) Error(ErrorCode::NoMemory);
    }
    if (data) std::memcpy(copy, data, size);
    else std::memset(copy, 0, size);
    FreeOwned();
    if (copy == staged) {
        std::memcpy(Small, staged, size);
        copy = Small;
    }
    Data = copy;
    Size = size;
}

void CItem::SetData(char* data, unsigned int size) {
    if (size > 0) {
        Own(data, size);
    } else {
        FreeOwned();
        Data = data;
        Size = 0;
    }
    Empty = 0;
}

char* CItem::GetData() { return Data; }

void CItem::GetData(char* buffer, unsigned int n) {
    if (Size == 0 || !Data || !buffer) return;
    if (n == 0 || n > Size) n = Size;
    std::memcpy(buffer, Data, n);
}

void CItem::Clear() {
    FreeOwned();
    Data = nullptr;
    delete[] IName;
    IName = nullptr;
    Size = 0;
    Empty = 1;
}

void CItem::SetName(const char* name) {
    char* copy = CopyText(name);
    delete[] IName;
    IName = copy;
}

const char* CItem::GetName() const { return IName; }

char CItem::IsEmpty() { return Empty; }

unsigned int CItem::GetSize() { return Size; }
