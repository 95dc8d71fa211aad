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
        Data = new (std::nothrow) char[other.Size];
        if (!Data) Error(ErrorCode::NoMemory);
        std::memcpy(Data, other.Data, other.Size);
        Size = other.Size;
    } else {
        Data = other.Data;
        Size = 0;
    }
    Empty = other.Empty;
    IName = CopyText(other.IName);
    return *this;
}

CItem::~CItem() {
    if (Size > 0) delete[] Data;
    delete[] IName;
}

void CItem::SetData(char* data, unsigned int size) {
    if (size > 0) {
        // Copy first: the new data may lie inside the old block.
        char* copy = new (std::nothrow) char[size];
        if (!copy) Error(ErrorCode::NoMemory);
        if (data) std::memcpy(copy, data, size);
        else std::memset(copy, 0, size);
        if (Size > 0) delete[] Data;
        Data = copy;
    } else {
        if (Size > 0) delete[] Data;
        Data = data;
    }
    Size = size;
    Empty = 0;
}

char* CItem::GetData() { return Data; }

void CItem::Clear() {
    if (Size > 0) delete[] Data;
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

unsigned int CItem::GetSize() { return Size; }
