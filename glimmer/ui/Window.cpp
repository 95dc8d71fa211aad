#include "glimmer/ui/Window.h"

#include <new>
#include <ostream>

#include "glimmer/base/Config.h"
#include "glimmer/base/DebugLog.h"
#include "glimmer/base/Error.h"
#include "glimmer/graphics/CText.h"
#include "glimmer/graphics/Sprite.h"
#include "glimmer/registry/Descriptor.h"
#include "glimmer/resources/CCategory.h"
#include "glimmer/resources/CItem.h"
#include "glimmer/ui/Button.h"

namespace {

constexpr unsigned int WindowLayers = 256;
constexpr unsigned int NotFiled = 0xFFFFFFFFu;
constexpr short DefaultLayerCapacity = 1000;

// Windows drawn right now, outermost first. A window that (through a layer of
// its own or of a window inside it) would draw itself again is skipped instead
// of recursing until the stack runs out.
constexpr int MaxNesting = 32;
const Window* DrawingNow[MaxNesting];
int DrawingDepth = 0;

bool IsBeingDrawn(const Window* window) {
    for (int i = 0; i < DrawingDepth; ++i)
        if (DrawingNow[i] == window) return true;
    return false;
}

// The layer of a global catalog that a window with this level is filed in.
// Levels above the catalog's last layer use the last layer, the rule that
// SetZLevel applies to everything else, so a catalog configured with fewer
// layers is never indexed past its end.
CCategory* GlobalLayer(unsigned int catalogDesc, unsigned char level) {
    Catalog* catalog = GetLayerCatalog(catalogDesc);
    if (!catalog || catalog->CategoryNum == 0 || !catalog->Categories) return nullptr;
    unsigned int layer = level;
    if (layer >= catalog->CategoryNum) layer = catalog->CategoryNum - 1;
    CCategory* category = (*catalog)[layer];
    if (category->IsEmpty()) return nullptr;
    return category;
}

}  // namespace

Window::Window() : Flags(0), WQnum(NotFiled) {
    Table.Desc = 0;
}

Window::~Window() {
    DebugLog << "Window#" << Desc << "destroyed" << std::endl;
    // The table (a member) goes first and takes every object registered in it,
    // then the GObject part, then the layers: the reverse of construction.
}

void Window::Initializing(unsigned int desc, int mlimit, unsigned int udesc) {
    DebugLog << "Window initializing Desc=" << desc << " num=" << mlimit << " and UDesc=" << udesc
             << std::endl;
    Table.Desc = desc;
    Catalog::Desc = desc;
    GObject::Desc = desc;
    UDesc = udesc;
    Table.Num = 0;

    const unsigned long start = GDT.RegisterDRange(mlimit, desc);
    if (start == 0) Error(ErrorCode::NoDescriptor);
    if (!Table.CreateSlots(static_cast<unsigned int>(start), mlimit)) Error(ErrorCode::NoMemory);
    Table.Start = static_cast<unsigned int>(start);
    Table.MLimit = mlimit;

    delete[] Categories;
    Categories = nullptr;
    CategoryNum = 0;
    Categories = new (std::nothrow) CCategory[WindowLayers];
    if (!Categories) Error(ErrorCode::NoMemory);
    CategoryNum = WindowLayers;

    // A window created without parameters has nowhere to write its capacity
    // back; it simply gets the default.
    short capacity = DefaultLayerCapacity;
    if (short* params = GDT.GetParams(desc)) {
        DebugLog << "Params[0] is:" << params[0] << std::endl;
        if (params[0] != 0) capacity = params[0];
        params[0] = capacity;
    }
    // A negative capacity cannot be honoured; refusing it beats asking for
    // billions of items.
    if (capacity < 0) Error(ErrorCode::NoMemory);

    for (unsigned int i = 0; i < WindowLayers; ++i)
        if (!Categories[i].Initializing(i, static_cast<unsigned int>(capacity))) Error(ErrorCode::NoMemory);

    DebugLog << "Window initialized with descriptor=" << desc << " start=" << Table.Start
             << " mlimit=" << mlimit << std::endl;
}

void Window::Show() {
    if (VQnum != -1) return;
    DebugLog << "In show window: z_level=" << static_cast<unsigned int>(ZLevel) << std::endl;
    if (CCategory* layer = GlobalLayer(CFG.VCDesc, ZLevel)) {
        unsigned int desc = Desc;
        VQnum = layer->AddItem(reinterpret_cast<char*>(&desc), sizeof desc);
    }
    DebugLog << "VQnum=" << static_cast<unsigned int>(VQnum) << std::endl;
    Flags |= 2;
}

void Window::Hide() {
    if (VQnum == -1) return;
    if (CCategory* layer = GlobalLayer(CFG.VCDesc, ZLevel)) layer->RemoveItem(static_cast<unsigned int>(VQnum));
    VQnum = -1;
    Flags &= ~2u;
}

void Window::Activate() {
    if (WQnum != NotFiled) return;
    DebugLog << "In activate window: z_level=" << static_cast<unsigned int>(ZLevel) << std::endl;
    if (CCategory* layer = GlobalLayer(CFG.WCDesc, ZLevel)) {
        unsigned int desc = Desc;
        WQnum = static_cast<unsigned int>(layer->AddItem(reinterpret_cast<char*>(&desc), sizeof desc));
    }
    DebugLog << "WQnum=" << WQnum << std::endl;
    Flags |= 1;
}

void Window::Disactivate() {
    if (WQnum == NotFiled) return;
    if (CCategory* layer = GlobalLayer(CFG.WCDesc, ZLevel)) layer->RemoveItem(WQnum);
    WQnum = NotFiled;
    Flags &= ~1u;
}

namespace {

class Drawing : public WindowContents {
public:
    void Object(const Descriptor& record, SDL_Rect* clip) override {
        switch (record.Type) {
        case TypeSprite: static_cast<Sprite*>(record.Object)->Run(clip, nullptr); break;
        case TypeText: static_cast<CText*>(record.Object)->Run(clip, nullptr); break;
        default: break;
        }
    }
};

}  // namespace

void Window::Run(SDL_Surface*) {
    Drawing drawing;
    Walk(drawing);
}

void Window::Walk(WindowContents& contents) {
    SDL_Rect rect;
    rect.x = static_cast<Sint16>(X - XCenter);
    rect.y = static_cast<Sint16>(Y - YCenter);
    rect.w = static_cast<Uint16>(XSize);
    rect.h = static_cast<Uint16>(YSize);
    DebugLog << "Entering window# " << Desc << "for drawing" << std::endl;

    unsigned int drawn = 0;
    if (DrawingDepth < MaxNesting && !IsBeingDrawn(this)) {
        DrawingNow[DrawingDepth++] = this;
        const unsigned int layers = Categories ? CategoryNum : 0;
        PrefetchLayers(Categories, layers, PrefetchRecord);
        for (unsigned int l = 0; l < layers; ++l) {
            drawn += ForEachFiled(Categories[l], [&](unsigned int desc) {
                Descriptor* record = GDT.GetData(desc);
                // A freed object left filed has no object any more: nothing
                // to draw, but it still counts as an item met.
                if (!record || !record->Object) return true;
                if (record->Type == TypeWindow) static_cast<Window*>(record->Object)->Walk(contents);
                else contents.Object(*record, &rect);
                return true;
            }, PrefetchRecord);
        }
        --DrawingDepth;
    }
    DebugLog << "In window# " << Desc << "drawed " << drawn << " objects" << std::endl;
}

namespace {

// Offers an event to the buttons among the first Num slots of a window's
// table; the walk both MouseClick and MouseTrack share.
int OfferToButtons(Window& window, const SDL_Event* event, int ex, int ey, unsigned int passOn) {
    DTable& table = window.Table;
    const int rx = ex + window.XCenter - window.X;
    const int ry = ey + window.YCenter - window.Y;
    DebugLog << "Window#" << window.Desc << ":Mouse at:x(abs)=" << ex << " x(rel)=" << rx
             << " y(abs)=" << ey << " y(rel)=" << ry << std::endl;
    DebugLog << "Start: " << table.Start << " Num: " << table.Num << " Mlimit: " << table.MLimit
             << std::endl;
    const unsigned int limit = table.MLimit > 0 ? static_cast<unsigned int>(table.MLimit) : 0;
    unsigned int looked = 0;
    for (unsigned int i = 0; i < limit && looked < table.Num; ++i, ++looked) {
        const unsigned int d = table.Start + i;
        DebugLog << "Inspecting object# " << d << std::endl;
        Descriptor* record = table.GetData(d);
        if (!record || record->Type != TypeButton || !record->Object) continue;
        DebugLog << "Found button" << std::endl;
        if (static_cast<Button*>(record->Object)->Run(event, rx, ry, passOn)) return 1;
    }
    return 0;
}

}  // namespace

int Window::MouseClick(const SDL_Event* event) {
    const int ex = event->button.x;
    const int ey = event->button.y;
    if (ex < X || ex > X + XSize || ey < Y || ey > Y + YSize) return 0;
    return OfferToButtons(*this, event, ex, ey, 0);
}

int Window::MouseTrack(const SDL_Event* event) {
    OfferToButtons(*this, event, event->motion.x, event->motion.y, Desc);
    return 0;
}

void Window::Refresh() {
    DebugLog << "Refresh" << std::endl;
}
