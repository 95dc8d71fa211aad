#include "glimmer/graphics/GObject.h"

#include <cmath>
#include <cstdint>

#include "glimmer/base/Config.h"
#include "glimmer/base/DebugLog.h"
#include "glimmer/registry/DTable.h"
#include "glimmer/registry/ObjectTypesInternal.h"
#include "glimmer/resources/CCategory.h"
#include "glimmer/resources/Catalog.h"

short TruncTo16(double value) {
    if (std::isnan(value)) return 0;
    // Converting a double outside the 64-bit range is undefined, so clamp
    // first; 2^63 itself is not representable, hence the strict bound.
    constexpr double limit = 9223372036854775808.0;
    std::int64_t whole;
    if (value >= limit) whole = INT64_MAX;
    else if (value < -limit) whole = INT64_MIN;
    else whole = static_cast<std::int64_t>(value);
    return static_cast<short>(static_cast<std::uint16_t>(static_cast<std::uint64_t>(whole) & 0xFFFFu));
}

short ScaleTrunc(int value, double factor) {
    return TruncTo16(static_cast<double>(value) * factor);
}

void OwnerOrigin(unsigned int udesc, int* ox, int* oy) {
    *ox = 0;
    *oy = 0;
    // One lookup: every drawn object asks this once a frame.
    const Descriptor* record = GDT.GetData(udesc);
    if (!record || !record->Used || record->Type != TypeWindow) return;
    const GObject* owner = GetGObject(udesc);
    if (!owner) return;
    *ox = owner->X + owner->XCenter;
    *oy = owner->Y + owner->YCenter;
}

GObject::GObject()
    : X(0), Y(0), XSize(0), YSize(0), XCenter(0), YCenter(0), VQnum(-1), Released(0), Desc(0),
      ZLevel(0), SX(CFG.Scalex), SY(CFG.Scaley), UDesc(0), Look(0), ListedFrame(0), ListedAt(0) {
    Touch();
    DebugLog << "Constructing GObject" << std::endl;
    DebugLog << "SX=" << SX << " SY=" << SY << std::endl;
}

GObject::~GObject() {
    DebugLog << "Destructing GObject" << std::endl;
}

void GObject::SetSize(int xs, int ys, float kx, float ky) {
    DebugLog << "Resize" << std::endl;
    XSize = ScaleTrunc(xs, kx);
    YSize = ScaleTrunc(ys, ky);
}

void GObject::SetCoord(int x, int y, float kx, float ky) {
    DebugLog << "SetCoord" << std::endl;
    X = ScaleTrunc(x, kx);
    Y = ScaleTrunc(y, ky);
}

void GObject::SetCenter(int x, int y, float kx, float ky) {
    DebugLog << "SetCenter" << std::endl;
    XCenter = ScaleTrunc(x, kx);
    YCenter = ScaleTrunc(y, ky);
}

void GObject::SetZLevel(unsigned char z) {
    DebugLog << "Set Z Level" << std::endl;
    const unsigned int highest = CFG.VClayers > 0 ? CFG.VClayers - 1u : 0u;
    if (z > highest) z = static_cast<unsigned char>(highest);
    ZLevel = z;
}

namespace {

unsigned long LastLook = 0;

}  // namespace

void GObject::Touch() {
    Look = ++LastLook;
}

namespace {

// The layer an object of that owner and level is filed in; null when the owner
// has no layer catalog or no such layer.
CCategory* LayerOf(unsigned int udesc, unsigned char z) {
    Catalog* layers = GetLayerCatalog(udesc);
    if (!layers || z >= layers->CategoryNum) return nullptr;
    return (*layers)[static_cast<unsigned int>(z)];
}

}  // namespace

namespace {

// How the object this is the GObject part of is shown as a whole (a window
// is filed in the global catalogs and keeps its flags); null when this
// part's own filing is the whole story.
const ObjectType* WholeObject(GObject* part, void** object) {
    const Descriptor* record = GDT.GetData(part->Desc);
    if (!record || !record->Used || !record->Object) return nullptr;
    const ObjectType* ops = ObjectTypeOf(record->Type);
    if (!ops || !ops->Show || !ops->Graphic || ops->Graphic(record->Object) != part) return nullptr;
    *object = record->Object;
    return ops;
}

}  // namespace

void GObject::Show() {
    void* whole = nullptr;
    if (const ObjectType* ops = WholeObject(this, &whole)) return ops->Show(whole);
    if (VQnum != -1) return;
    DebugLog << "In show: z_level=" << static_cast<unsigned int>(ZLevel) << "Udesc=" << UDesc
             << std::endl;
    if (CCategory* layer = LayerOf(UDesc, ZLevel)) {
        unsigned int desc = Desc;
        VQnum = layer->AddItem(reinterpret_cast<char*>(&desc), sizeof desc);
    }
    DebugLog << "VQnum=" << VQnum << std::endl;
}

void GObject::Hide() {
    void* whole = nullptr;
    if (const ObjectType* ops = WholeObject(this, &whole)) return ops->Hide(whole);
    if (VQnum == -1) return;
    if (CCategory* layer = LayerOf(UDesc, ZLevel)) layer->RemoveItem(static_cast<unsigned int>(VQnum));
    VQnum = -1;
}
