#pragma once

#include "glimmer/registry/Descriptor.h"

class Catalog;
class GObject;

// The registry: creates objects by type code, numbers them, finds them and
// destroys them. A table owns every object registered in it.
class DTable {
public:
    unsigned int Desc;         // owner of the table: 0 for GDT, the window's descriptor
    Descriptor* Descriptors;   // MLimit slots
    unsigned int Start;        // number of slot 0
    int MLimit;
    unsigned int Num;
    unsigned int* RangeStart;  // descriptor ranges registered in this table
    unsigned int* RangeSize;
    unsigned int* RangeOwner;

    DTable();
    ~DTable();
    DTable(const DTable&) = delete;
    DTable& operator=(const DTable&) = delete;

    void CreateDT(int size);
    unsigned long CreateDescriptor(int type, short* params, unsigned long n);
    unsigned long RegisterDRange(int size, unsigned long owner);
    void UnregisterDRange(unsigned long owner);
    void FreeDescriptorByNum(unsigned int slot);
    void FreeDescriptor(unsigned int desc);
    void* operator[](unsigned long desc);
    Descriptor* GetData(unsigned int desc);
    short* GetParams(unsigned int desc);
    int GetNumByDesc(unsigned long desc);
    void Initializing(unsigned int desc, unsigned int size);

    // Gives the table size zeroed slots numbered start, start + 1, ... (the
    // previous slots, if any, are freed first). Returns 0 when out of memory.
    int CreateSlots(unsigned int start, int size);
};

// The global table; slot i is descriptor i.
extern DTable GDT;

// The layer catalog of an owner found through GDT: the visible or window
// catalog (type 4) or a window's layers (type 3); null for anything else.
Catalog* GetLayerCatalog(unsigned int desc);

// The GObject part of a sprite, button, text or window found through GDT;
// null for anything else (catalogs, free slots, unknown numbers).
GObject* GetGObject(unsigned int desc);
