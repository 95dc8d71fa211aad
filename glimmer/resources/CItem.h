#pragma once

// One named piece of data: an owned copy (Size above 0) or a borrowed pointer
// (Size 0) that the item never releases.
class CItem {
public:
    char* Data;
    char Empty;
    unsigned int Size;
    char* IName;

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
