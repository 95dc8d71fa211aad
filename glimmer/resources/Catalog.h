#pragma once

#include "glimmer/resources/CCategory.h"

// An array of categories: layers of a layer catalog, or font families.
class Catalog {
public:
    unsigned int Desc;
    CCategory* Categories;  // owned array of CategoryNum categories
    unsigned int CategoryNum;

    Catalog();
    ~Catalog();
    Catalog(const Catalog&) = delete;
    Catalog& operator=(const Catalog&) = delete;

    int Initializing(unsigned int desc, unsigned int n, unsigned int udesc);
    CCategory* operator[](unsigned int i);
    CCategory* operator[](int i) { return (*this)[static_cast<unsigned int>(i)]; }
    CCategory* operator[](const char* name);
};
