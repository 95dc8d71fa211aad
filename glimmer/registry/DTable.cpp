#include "glimmer/registry/DTable.h"

#include <climits>
#include <new>
#include <ostream>

#include "glimmer/base/DebugLog.h"
#include "glimmer/base/Error.h"
#include "glimmer/registry/ObjectTypesInternal.h"

DTable GDT;

namespace {

// Windows inside windows are resolved by going up through GDT; a damaged
// chain of owners must not recurse for ever.
constexpr int MaxNesting = 64;

struct Location {
    DTable* table = nullptr;
    unsigned int slot = 0;

    Descriptor* Record() const { return table ? &table->Descriptors[slot] : nullptr; }
};

// Slots are numbered consecutively from the number slot 0 carries. That is
// Start for a window's table, but a table given its slots before
// Initializing reserved its range keeps the numbers 0..n-1 it was made with.
bool OwnSlot(const DTable& t, unsigned long desc, unsigned int& slot) {
    if (!t.Descriptors || t.MLimit <= 0 || desc > UINT_MAX) return false;
    unsigned int index = static_cast<unsigned int>(desc) - t.Descriptors[0].Desc;
    if (index >= static_cast<unsigned int>(t.MLimit)) return false;
    slot = index;
    return true;
}

bool RangeEntryFree(const DTable& t, int i) { return t.RangeStart[i] == 0 && t.RangeSize[i] == 0; }

// Taken range entries always form a prefix: registration fills the first
// free entry and removal closes the gap. Their starts ascend and the ranges
// do not overlap, since each new range begins where the last listed one ends.
// Galloping keeps the cost tied to the number of ranges, not to the slots.
int RangeCount(const DTable& t) {
    if (!t.RangeStart || !t.RangeSize || t.MLimit <= 0 || RangeEntryFree(t, 0)) return 0;
    int used = 0;  // entries up to here are taken
    int probe = 1;
    while (probe < t.MLimit && !RangeEntryFree(t, probe)) {
        used = probe;
        probe = probe < t.MLimit / 2 ? 2 * probe + 1 : t.MLimit;
    }
    int lo = used + 1, hi = probe < t.MLimit ? probe : t.MLimit;
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        if (RangeEntryFree(t, mid)) hi = mid;
        else lo = mid + 1;
    }
    return lo;
}

// The only range entry that can hold desc, or -1.
int RangeHolding(const DTable& t, unsigned int desc) {
    int count = RangeCount(t);
    int lo = 0, hi = count;
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        if (t.RangeStart[mid] <= desc) lo = mid + 1;
        else hi = mid;
    }
    int i = lo - 1;
    if (i < 0) return -1;
    if (desc - t.RangeStart[i] >= t.RangeSize[i]) return -1;
    return i;
}

Location Locate(DTable& t, unsigned long desc, int depth);

// The table of a range's owner: only a window owns one. Any other object is
// never taken for a table.
DTable* RangeTable(DTable& t, unsigned int owner, int depth) {
    Descriptor* record = nullptr;
    unsigned int slot = 0;
    if (OwnSlot(t, owner, slot)) {
        record = &t.Descriptors[slot];
    } else {
        // A window registered inside another window: its record lives in the
        // parent's table, which GDT reaches.
        record = Locate(GDT, owner, depth + 1).Record();
    }
    if (!record || record->Type != TypeWindow || !record->Object) return nullptr;
    const ObjectType* ops = ObjectTypeOf(TypeWindow);
    return ops && ops->Table ? ops->Table(record->Object) : nullptr;
}

// The range a lookup last went through, and the window table it led to. The
// objects of one window are looked up one after another (a walk over its
// layers, a frame moving its flakes); the memo spares each of them the
// search through the ranges and the owner's type. It is checked against the
// table on every use, so a table changed since is searched afresh.
struct RangeMemo {
    const DTable* table = nullptr;
    int entry = 0;
    unsigned int start = 0;
    unsigned int size = 0;
    unsigned int owner = 0;
    unsigned int ownerSlot = 0;
    const void* window = nullptr;
    DTable* inner = nullptr;
};

RangeMemo Memo;

// The inner table of the memo if it still stands for desc's range in t: the
// range entry, and the owner's slot holding the same window, are unchanged.
// Ranges ascend without overlapping, so the entry holding desc is the one a
// search would find.
DTable* MemoFor(const DTable& t, unsigned int desc) {
    if (Memo.table != &t || desc - Memo.start >= Memo.size) return nullptr;
    const int e = Memo.entry;
    if (!t.RangeStart || !t.RangeSize || !t.RangeOwner || !t.Descriptors || e >= t.MLimit ||
        Memo.ownerSlot >= static_cast<unsigned int>(t.MLimit))
        return nullptr;
    if (t.RangeStart[e] != Memo.start || t.RangeSize[e] != Memo.size || t.RangeOwner[e] != Memo.owner)
        return nullptr;
    const Descriptor& owner = t.Descriptors[Memo.ownerSlot];
    if (owner.Desc != Memo.owner || owner.Type != TypeWindow || owner.Object != Memo.window) return nullptr;
    return Memo.inner;
}

// Gives what a walk over the slots in order would give: at slot i, first the
// slot's own number, then the range of entry i.
Location Locate(DTable& t, unsigned long desc, int depth) {
    if (depth > MaxNesting) return {};
    unsigned int slot = 0;
    bool own = OwnSlot(t, desc, slot);
    // A table without ranges (a window's own table, as a rule) has nothing
    // but its slots; the draw pass and the card look up every flake here
    // several times a frame.
    if (!t.RangeStart || !t.RangeSize || t.MLimit <= 0 || RangeEntryFree(t, 0))
        return own ? Location{&t, slot} : Location{};
    if (desc <= UINT_MAX) {
        const unsigned int number = static_cast<unsigned int>(desc);
        DTable* inner = depth == 0 ? MemoFor(t, number) : nullptr;
        if (inner && !(own && slot <= static_cast<unsigned int>(Memo.entry))) {
            Location found = Locate(*inner, desc, depth + 1);
            if (found.table) return found;
        } else if (int range = RangeHolding(t, number); range >= 0 && !(own && slot <= static_cast<unsigned int>(range))) {
            inner = RangeTable(t, t.RangeOwner[range], depth);
            if (inner && inner != &t) {
                unsigned int ownerSlot = 0;
                if (depth == 0 && OwnSlot(t, t.RangeOwner[range], ownerSlot))
                    Memo = {&t, range, t.RangeStart[range], t.RangeSize[range], t.RangeOwner[range], ownerSlot,
                            t.Descriptors[ownerSlot].Object, inner};
                Location found = Locate(*inner, desc, depth + 1);
                if (found.table) return found;
            }
        }
    }
    if (own) return {&t, slot};
    return {};
}

// Steps shared by both ways of freeing: the record is emptied before the
// object goes, so nothing reached from its destructor sees a half-freed slot.
// Returns whether the slot was taken.
bool FreeRecord(DTable& t, unsigned int slot, unsigned int& type) {
    Descriptor& record = t.Descriptors[slot];
    if (!record.Used) return false;
    void* object = record.Object;
    type = record.Type;
    record.Object = nullptr;
    record.Params = nullptr;
    record.Type = 0;
    record.Used = 0;
    if (t.Num > 0) --t.Num;
    const ObjectType* ops = ObjectTypeOf(type);
    if (object && ops) ops->Destroy(object);
    return true;
}

void ReleaseSlots(DTable& t) {
    delete[] t.Descriptors;
    delete[] t.RangeStart;
    delete[] t.RangeSize;
    delete[] t.RangeOwner;
    t.Descriptors = nullptr;
    t.RangeStart = t.RangeSize = t.RangeOwner = nullptr;
    t.MLimit = 0;
    t.Num = 0;
}

}  // namespace

DTable::DTable()
    : Desc(0), Descriptors(nullptr), Start(0), MLimit(0), Num(0), RangeStart(nullptr), RangeSize(nullptr),
      RangeOwner(nullptr) {}

DTable::~DTable() {
    for (int i = 0; i < MLimit; ++i) FreeDescriptorByNum(static_cast<unsigned int>(i));
    ReleaseSlots(*this);
}

int DTable::CreateSlots(unsigned int start, int size) {
    for (int i = 0; i < MLimit; ++i) FreeDescriptorByNum(static_cast<unsigned int>(i));
    ReleaseSlots(*this);
    Start = start;
    if (size < 0) return 0;
    if (size == 0) return 1;
    unsigned int count = static_cast<unsigned int>(size);
    Descriptors = new (std::nothrow) Descriptor[count];
    RangeStart = new (std::nothrow) unsigned int[count]();
    RangeSize = new (std::nothrow) unsigned int[count]();
    RangeOwner = new (std::nothrow) unsigned int[count]();
    if (!Descriptors || !RangeStart || !RangeSize || !RangeOwner) {
        ReleaseSlots(*this);
        return 0;
    }
    for (unsigned int i = 0; i < count; ++i) Descriptors[i].Desc = start + i;
    MLimit = size;
    return 1;
}

void DTable::CreateDT(int size) {
    DebugLog << "Creating DTable with " << size << "indexes" << std::endl;
    if (!CreateSlots(0, size)) Error(ErrorCode::NoMemory);
}

unsigned long DTable::CreateDescriptor(int type, short* params, unsigned long n) {
    if (!Descriptors || MLimit <= 0 || Num >= static_cast<unsigned int>(MLimit)) Error(ErrorCode::NoDescriptor);
    int slot = 0;
    while (slot < MLimit && Descriptors[slot].Used) ++slot;
    if (slot == MLimit) Error(ErrorCode::NoDescriptor);
    Descriptor& record = Descriptors[slot];
    unsigned int desc = record.Desc;

    short* copy = nullptr;
    if (params) {
        copy = record.OwnParams;
        copy[0] = params[0];
        copy[1] = params[1];
    }

    unsigned int code = static_cast<unsigned int>(type);
    void* object = nullptr;
    const ObjectType* ops = ObjectTypeOf(code);
    if (ops) {
        object = ops->Create();
        if (!object) Error(ErrorCode::NoMemory);
    }
    // Filled before the object is set up: a window reads its own parameters
    // back through GDT while it initialises.
    record.Object = object;
    record.Params = copy;
    record.Type = code;
    record.Used = 1;
    ++Num;
    if (ops) {
        DebugLog << object << std::endl;
        ops->Initialize(object, desc, n, Desc);
    }
    return desc;
}

unsigned long DTable::RegisterDRange(int size, unsigned long owner) {
    DebugLog << "In Register DRange MLimit=" << MLimit << std::endl;
    if (size < 0 || !RangeStart || !RangeSize || !RangeOwner) return 0;
    unsigned long start = static_cast<unsigned long>(MLimit);
    for (int i = 0; i < MLimit; ++i) {
        if (RangeEntryFree(*this, i)) {
            // Numbers must stay below 2^32 and must not wrap onto used ones.
            if (start + static_cast<unsigned long>(size) > UINT_MAX) return 0;
            RangeStart[i] = static_cast<unsigned int>(start);
            RangeSize[i] = static_cast<unsigned int>(size);
            RangeOwner[i] = static_cast<unsigned int>(owner);
            return start;
        }
        start = static_cast<unsigned long>(RangeStart[i]) + RangeSize[i];
    }
    return 0;
}

void DTable::UnregisterDRange(unsigned long owner) {
    int count = RangeCount(*this);
    int i = 0;
    while (i < count && RangeOwner[i] != owner) ++i;
    if (i == count) return;
    for (; i + 1 < MLimit; ++i) {
        RangeStart[i] = RangeStart[i + 1];
        RangeSize[i] = RangeSize[i + 1];
        RangeOwner[i] = RangeOwner[i + 1];
    }
    RangeStart[MLimit - 1] = 0;
    RangeSize[MLimit - 1] = 0;
    RangeOwner[MLimit - 1] = 0;
}

void DTable::FreeDescriptorByNum(unsigned int slot) {
    if (!Descriptors || slot >= static_cast<unsigned int>(MLimit)) return;
    unsigned int desc = Descriptors[slot].Desc;
    unsigned int type = 0;
    if (!FreeRecord(*this, slot, type)) return;
    UnregisterDRange(desc);
    // Ranges live in GDT whatever table the window sits in.
    if (type == TypeWindow && this != &GDT) GDT.UnregisterDRange(desc);
}

void DTable::FreeDescriptor(unsigned int desc) {
    Location found = Locate(*this, desc, 0);
    if (!found.table) return;
    unsigned int type = 0;
    if (!FreeRecord(*found.table, found.slot, type)) return;
    UnregisterDRange(desc);
    if (type == TypeWindow && this != &GDT) GDT.UnregisterDRange(desc);
}

void* DTable::operator[](unsigned long desc) {
    Descriptor* record = Locate(*this, desc, 0).Record();
    return record ? record->Object : nullptr;
}

Descriptor* DTable::GetData(unsigned int desc) {
    // What Locate gives through the memo, spelled out for the common case: a
    // window's object that no slot of this table claims first, in a window
    // table without ranges of its own.
    if (const DTable* inner = MemoFor(*this, desc)) {
        const unsigned int own = desc - Descriptors[0].Desc;
        const bool claimed = own < static_cast<unsigned int>(MLimit) && own <= static_cast<unsigned int>(Memo.entry);
        const bool plain = inner->Descriptors && inner->MLimit > 0 &&
                           (!inner->RangeStart || !inner->RangeSize || RangeEntryFree(*inner, 0));
        if (!claimed && plain) {
            const unsigned int slot = desc - inner->Descriptors[0].Desc;
            if (slot < static_cast<unsigned int>(inner->MLimit)) return &inner->Descriptors[slot];
        }
    }
    return Locate(*this, desc, 0).Record();
}

short* DTable::GetParams(unsigned int desc) {
    Descriptor* record = Locate(*this, desc, 0).Record();
    return record ? record->Params : nullptr;
}

int DTable::GetNumByDesc(unsigned long desc) {
    unsigned int slot = 0;
    return OwnSlot(*this, desc, slot) ? static_cast<int>(slot) : 0;
}

void DTable::Initializing(unsigned int desc, unsigned int size) {
    Desc = desc;
    if (size > static_cast<unsigned int>(INT_MAX)) Error(ErrorCode::NoDescriptor);
    Start = static_cast<unsigned int>(GDT.RegisterDRange(static_cast<int>(size), desc));
    if (Start == 0) Error(ErrorCode::NoDescriptor);
}

Catalog* GetLayerCatalog(unsigned int desc) {
    Descriptor* record = GDT.GetData(desc);
    if (!record || !record->Object) return nullptr;
    const ObjectType* ops = ObjectTypeOf(record->Type);
    return ops && ops->Layers ? ops->Layers(record->Object) : nullptr;
}

void PrefetchRecord(unsigned int desc) {
    if (const Descriptor* record = GDT.GetData(desc)) __builtin_prefetch(record);
}

GObject* GetGObject(unsigned int desc) {
    Descriptor* record = GDT.GetData(desc);
    if (!record || !record->Object) return nullptr;
    const ObjectType* ops = ObjectTypeOf(record->Type);
    return ops && ops->Graphic ? ops->Graphic(record->Object) : nullptr;
}
