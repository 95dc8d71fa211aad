#include "glimmer/base/EngineInternal.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <new>

#include "glimmer/base/Error.h"

int TruncToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return INT_MAX;
    if (value <= -2147483648.0) return INT_MIN;
    return static_cast<int>(value);
}

char* CopyText(const char* text) {
    if (!text) return nullptr;
    const std::size_t length = std::strlen(text) + 1;
    char* copy = new (std::nothrow) char[length];
    if (!copy) Error(ErrorCode::NoMemory);
    std::memcpy(copy, text, length);
    return copy;
}
