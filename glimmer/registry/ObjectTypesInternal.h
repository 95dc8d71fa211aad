#pragma once

// What a descriptor table needs to know about the class behind each type
// code. The classes sit above the registry (graphics, ui), so the table and
// the graphic objects reach them only through these operations, which
// ui/ObjectTypes.cpp defines.

class Catalog;
class DTable;
class GObject;

struct ObjectType {
    void* (*Create)();  // a new object, or null without memory
    void (*Initialize)(void* object, unsigned int desc, unsigned long n, unsigned int owner);
    void (*Destroy)(void* object);
    GObject* (*Graphic)(void* object);  // its GObject part, or null
    Catalog* (*Layers)(void* object);   // its layer catalog, or null
    DTable* (*Table)(void* object);     // its own descriptor table, or null
    // Shows or hides the object as a whole when asked through its GObject
    // part; null where the GObject part's own Show and Hide are the whole.
    void (*Show)(void* object);
    void (*Hide)(void* object);
};

// The operations of a type code; null for codes without a class.
const ObjectType* ObjectTypeOf(unsigned int type);
