#include "glimmer/graphics/GObject.h"

#include <cmath>
#include <cstdint>

#include "glimmer/base/Config.h"
#include "glimmer/base/DebugLog.h"
#include "glimmer/registry/DTable.h"
#include "glimmer/resources/CCategory.h"
#include "glimmer/resources/Catalog.h"
#include "glimmer/ui/Window.h"

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
    const GObject* owner = ObjectOf<Window>(udesc);
    if (!owner) return;
    *ox = owner->X + owner->XCenter;
    *oy = owner->Y + owner->YCenter;
}

GObject::GObject()
    : X(0), Y(0), XSize(0), YSize(0), XCenter(0), YCenter(0), VQnum(-1), Released(0), Desc(0),
      ZLevel(0), SX(CFG.Scalex), SY(CFG.Scaley), UDesc(0) {
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

// The layer an object of that owner and level is filed in; null when the owner
// has no layer catalog or no such layer.
CCategory* LayerOf(unsigned int udesc, unsigned char z) {
    Catalog* layers = GetLayerCatalog(udesc);
    if (!layers || z >= layers->CategoryNum) return nullptr;
    return (*layers)[static_cast<unsigned int>(z)];
}

}  // namespace

namespace {

// The window whose GObject part this is; null for any other object.
Window* WindowOf(GObject* object) {
    Window* window = ObjectOf<Window>(object->Desc);
    return window && static_cast<GObject*>(window) == object ? window : nullptr;
}

}  // namespace

void GObject::Show() {
    // A window is filed in the global catalogs and keeps its flags.
    if (Window* window = WindowOf(this)) return window->Show();
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
    if (Window* window = WindowOf(this)) return window->Hide();
    if (VQnum == -1) return;
    if (CCategory* layer = LayerOf(UDesc, ZLevel)) layer->RemoveItem(static_cast<unsigned int>(VQnum));
    VQnum = -1;
}
