#include "glimmer/registry/Descriptor.h"

Descriptor::Descriptor() : Object(nullptr), Params(nullptr), Desc(0), Type(0), Used(0), OwnParams{0, 0} {}
