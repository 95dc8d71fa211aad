#pragma once

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
    void GetData(char* buffer, unsigned int n);
    void Clear();
    void SetName(const char* name);
    const char* GetName() const;
    char IsEmpty();
    unsigned int GetSize();
};
