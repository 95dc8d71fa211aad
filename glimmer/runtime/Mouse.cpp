#include "glimmer/runtime/Mouse.h"

#include <ostream>

#include "glimmer/base/Config.h"
#include "glimmer/base/DebugLog.h"
#include "glimmer/registry/DTable.h"
#include "glimmer/resources/CCategory.h"
#include "glimmer/resources/CItem.h"
#include "glimmer/resources/Catalog.h"
#include "glimmer/ui/Window.h"

unsigned int TrackedWindow = 0;
short TrackX0 = 0;
short TrackY0 = 0;

namespace {

// The window behind a descriptor, or null when the number names no window: a
// stale descriptor in a catalog must not be read as some other object.
Window* WindowOf(unsigned int desc) {
    Descriptor* record = GDT.GetData(desc);
    if (!record || !record->Object || record->Type != TypeWindow) return nullptr;
    return static_cast<Window*>(record->Object);
}

}  // namespace

void MouseKey(const SDL_Event* event) {
    // Key events also come here; their bytes are read as a button event, as
    // the filter hands them over, and no button takes them.
    const SDL_MouseButtonEvent& press = event->button;
    DebugLog << "Click detected at:[" << press.x << ";" << press.y << "]" << std::endl;

    Catalog* windows = GetLayerCatalog(CFG.WCDesc);
    if (!windows) return;
    for (int layer = static_cast<int>(CFG.WClayers) - 1; layer >= 0; --layer) {
        if (static_cast<unsigned int>(layer) >= windows->CategoryNum) continue;
        CCategory* category = (*windows)[static_cast<unsigned int>(layer)];
        if (category->IsEmpty()) continue;
        DebugLog << "Layer" << layer << " Num=" << category->GetNum() << std::endl;
        bool accepted = false;
        ForEachFiled(*category, [&](unsigned int desc) {
            Window* window = WindowOf(desc);
            accepted = window && window->MouseClick(event);
            DebugLog << (accepted ? "Click accepted" : "Click rejected") << std::endl;
            return !accepted;
        });
        if (accepted) return;
    }
}

void MouseTrack(const SDL_Event* event) {
    if (TrackedWindow == 0) return;
    if (Window* window = WindowOf(TrackedWindow)) window->MouseTrack(event);
}
