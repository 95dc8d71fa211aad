#include "glimmer/base/DebugLog.h"

#include <new>
#include <streambuf>
#include <type_traits>

namespace {

// A stream buffer over a fixed array: once the array is full, overflow fails,
// which puts the stream into its failure state and drops every later insertion.
class FixedTraceBuffer : public std::streambuf {
public:
    FixedTraceBuffer() { Reset(); }

    void Reset() {
        for (char& c : text_) c = '\0';
        setp(text_, text_ + DebugLogCapacity);
    }

    const char* Text() const { return text_; }

protected:
    int_type overflow(int_type) override { return traits_type::eof(); }

private:
    // One more than the capacity keeps the text zero-terminated when full.
    char text_[DebugLogCapacity + 1];
};

std::aligned_storage_t<sizeof(FixedTraceBuffer), alignof(FixedTraceBuffer)> bufferStorage;
std::aligned_storage_t<sizeof(std::ostream), alignof(std::ostream)> streamStorage;
int initCount = 0;

FixedTraceBuffer& Buffer() { return *std::launder(reinterpret_cast<FixedTraceBuffer*>(&bufferStorage)); }

}  // namespace

// Bound to static storage at compile time, so it is valid in any constructor
// once a DebugLogInit of the same translation unit has run. The stream is never
// destroyed: globals destroyed at exit still write to it.
std::ostream& DebugLog = reinterpret_cast<std::ostream&>(streamStorage);

DebugLogInit::DebugLogInit() {
    if (initCount++ == 0) {
        new (&bufferStorage) FixedTraceBuffer();
        new (&streamStorage) std::ostream(&Buffer());
    }
}

const char* DebugLogText() { return Buffer().Text(); }

void DebugLogReset() {
    Buffer().Reset();
    DebugLog.clear();
}
