#pragma once

// One slot of a descriptor table.
class Descriptor {
public:
    void* Object;         // the registered object, of the class named by Type
    short* Params;        // the parameter pair (OwnParams), or null
    unsigned int Desc;    // the slot's number, fixed when the table is set up
    unsigned int Type;    // 0 Sprite, 1 Button, 2 CText, 3 Window, 4 Catalog
    unsigned int Used;    // 1 while the slot is taken
    // Where Params points: in the slot itself (the record is as long as
    // without it), so reading an object's place reads no other memory.
    short OwnParams[2];

    Descriptor();
};

enum DescriptorType : unsigned int {
    TypeSprite = 0,
    TypeButton = 1,
    TypeText = 2,
    TypeWindow = 3,
    TypeCatalog = 4,
};
