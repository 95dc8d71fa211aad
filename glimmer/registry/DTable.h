#pragma once

#include "glimmer/registry/Descriptor.h"

class Button;
class CText;
class Catalog;
class GObject;
class Sprite;
class Window;

// The registry: creates objects by type code, numbers them, finds them and
// destroys them. A table owns every object registered in it.
class DTable {
public:
    unsigned int Desc;         // owner of the table: 0 for GDT, the window's descriptor
    Descriptor* Descriptors;   // owned array of MLimit slots
    unsigned int Start;        // number of slot 0
    int MLimit;                // slots
    unsigned int Num;          // slots taken
    // Descriptor ranges registered in this table (GDT: one per window), each
    // an owned array of MLimit entries; the taken entries come first.
    unsigned int* RangeStart;
    unsigned int* RangeSize;
    unsigned int* RangeOwner;  // the window whose table numbers its slots there

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

// Starts loading desc's record through GDT, for a walk that will look it up
// soon (see ForEachFiled); changes nothing.
void PrefetchRecord(unsigned int desc);

// The GObject part of a sprite, button, text or window found through GDT;
// null for anything else (catalogs, free slots, unknown numbers).
GObject* GetGObject(unsigned int desc);

// The type code a table creates each class under.
template <class T>
struct TypeCodeOf;
template <>
struct TypeCodeOf<Sprite> { static constexpr unsigned int value = TypeSprite; };
template <>
struct TypeCodeOf<Button> { static constexpr unsigned int value = TypeButton; };
template <>
struct TypeCodeOf<CText> { static constexpr unsigned int value = TypeText; };
template <>
struct TypeCodeOf<Window> { static constexpr unsigned int value = TypeWindow; };
template <>
struct TypeCodeOf<Catalog> { static constexpr unsigned int value = TypeCatalog; };

// The object registered under desc if it is a T; null for a free slot, an
// unknown number or an object of another type. ObjectOf<Sprite>(d) instead
// of static_cast<Sprite*>(GDT[d]), which takes any object for a sprite.
template <class T>
T* ObjectOf(unsigned int desc, DTable& table = GDT) {
    const Descriptor* record = table.GetData(desc);
    if (!record || !record->Used || !record->Object || record->Type != TypeCodeOf<T>::value) return nullptr;
    return static_cast<T*>(record->Object);
}
