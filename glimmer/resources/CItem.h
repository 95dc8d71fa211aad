#pragma once

// One named piece of data: an owned copy (Size above 0) or a borrowed pointer
// (Size 0) that the item never releases.
class CItem {
public:
    char* Data;         // owned when Size is above 0, borrowed when 0
    char Empty;         // 1 while the item holds nothing
    unsigned int Size;  // bytes of the owned copy; 0 for a borrowed pointer
    char* IName;        // owned name, or null
    // Where an owned copy of up to 8 bytes lives (a descriptor, as a rule):
    // in the item itself, so walking a layer reads no other memory.
    alignas(8) char Small[8];

    CItem();
    CItem(const CItem& other);
    CItem& operator=(const CItem& other);
    ~CItem();

    void SetData(char* data, unsigned int size);
    char* GetData();
    void GetData(char* buffer, unsigned int n);
    void Clear();
    void SetName(const char* name);
    const char* GetName() const;
    char IsEmpty();
    unsigned int GetSize();

private:
    // Data, Size and Empty set to an owned copy of size bytes from data (zeros
    // for null); the old content goes only after the copy is made.
    void Own(const char* data, unsigned int size);
    void FreeOwned();
};
