#include "glimmer/resources/Catalog.h"

#include <cstring>
#include <new>
#include <ostream>

#include "glimmer/base/DebugLog.h"

Catalog::Catalog() : Desc(0), Categories(nullptr), CategoryNum(0) {
    DebugLog << "Constructing Catalog" << std::endl;
}

Catalog::~Catalog() {
    DebugLog << "Destructing Catalog" << std::endl;
    delete[] Categories;
}

int Catalog::Initializing(unsigned int desc, unsigned int n, unsigned int) {
    DebugLog << "Catalog initializing Desc=" << desc << " categoryes=" << n << std::endl;
    Desc = desc;
    delete[] Categories;
    Categories = new (std::nothrow) CCategory[n];
    // Without storage the catalog must not claim any category.
    CategoryNum = Categories ? n : 0;
    return Categories ? 1 : 0;
}

CCategory* Catalog::operator[](unsigned int i) {
    if (!Categories || i >= CategoryNum) return nullptr;
    return &Categories[i];
}

CCategory* Catalog::operator[](const char* name) {
    if (!Categories || !name) return nullptr;
    for (unsigned int i = 0; i < CategoryNum; ++i) {
        const char* own = Categories[i].GetName();
        if (own && std::strcmp(own, name) == 0) return &Categories[i];
    }
    return nullptr;
}
