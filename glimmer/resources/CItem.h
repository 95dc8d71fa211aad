#pragma once

#include <cstring>

// One named piece of data: an owned copy (Size above 0) or a borrowed pointer
// (Size 0) that the item never releases.
class CItem {
public:
    char* Data;         // owned when Size is above 0, borrowed when 0
    char Empty;         // 1 while the item holds nothing
    unsigned int Size;  // bytes of the owned copy; 0 for a borrowed pointer
    char* IName;        // owned name, or null

    CItem();
    CItem(const CItem& other);
    CItem& operator=(const CItem& other);
    ~CItem();

    void SetData(char* data, unsigned int size);
    char* GetData();
    // Copies the first n bytes (all of them for n 0 or beyond Size) of an
    // owned copy into buffer; a borrowed pointer copies nothing. Inline: a
    // frame reads every filed object's number this way.
    void GetData(char* buffer, unsigned int n) {
        if (Size == 0 || !Data || !buffer) return;
        // Spelled as two copies so that a constant n copies without a call.
        if (n != 0 && n <= Size) std::memcpy(buffer, Data, n);
        else std::memcpy(buffer, Data, Size);
    }
    void Clear();
    void SetName(const char* name);
    const char* GetName() const;
    char IsEmpty() { return Empty; }
    unsigned int GetSize();
};
