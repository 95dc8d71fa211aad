#include "glimmer/registry/ObjectTypesInternal.h"

#include <new>

#include "glimmer/graphics/CText.h"
#include "glimmer/graphics/Sprite.h"
#include "glimmer/registry/Descriptor.h"
#include "glimmer/resources/Catalog.h"
#include "glimmer/ui/Button.h"
#include "glimmer/ui/Window.h"

namespace {

template <class T>
constexpr ObjectType CommonOps() {
    return ObjectType{
        []() -> void* { return static_cast<void*>(new (std::nothrow) T); },
        [](void* object, unsigned int desc, unsigned long n, unsigned int owner) {
            static_cast<T*>(object)->Initializing(desc, static_cast<int>(n), owner);
        },
        [](void* object) { delete static_cast<T*>(object); },
        nullptr, nullptr, nullptr, nullptr, nullptr,
    };
}

template <class T>
constexpr ObjectType GraphicOps() {
    ObjectType ops = CommonOps<T>();
    ops.Graphic = [](void* object) -> GObject* { return static_cast<T*>(object); };
    return ops;
}

constexpr ObjectType WindowOps() {
    ObjectType ops = GraphicOps<Window>();
    ops.Layers = [](void* object) -> Catalog* { return static_cast<Window*>(object); };
    ops.Table = [](void* object) -> DTable* { return &static_cast<Window*>(object)->Table; };
    ops.Show = [](void* object) { static_cast<Window*>(object)->Show(); };
    ops.Hide = [](void* object) { static_cast<Window*>(object)->Hide(); };
    return ops;
}

constexpr ObjectType CatalogOps() {
    ObjectType ops = CommonOps<Catalog>();
    ops.Layers = [](void* object) { return static_cast<Catalog*>(object); };
    return ops;
}

const ObjectType Sprites = GraphicOps<Sprite>();
const ObjectType Buttons = GraphicOps<Button>();
const ObjectType Texts = GraphicOps<CText>();
const ObjectType Windows = WindowOps();
const ObjectType Catalogs = CatalogOps();

}  // namespace

// The one place that knows which class each type code stands for. Codes
// without a class take a slot without an object.
const ObjectType* ObjectTypeOf(unsigned int type) {
    switch (type) {
    case TypeSprite: return &Sprites;
    case TypeButton: return &Buttons;
    case TypeText: return &Texts;
    case TypeWindow: return &Windows;
    case TypeCatalog: return &Catalogs;
    default: return nullptr;
    }
}
